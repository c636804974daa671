#include "core/pictures/picture_module.h"

#include <exception>

namespace {

template <typename Decode>
bool decodeInto(gamarium::pictures::Picture* picture, std::string* error, Decode decode) noexcept {
    try {
        *picture = decode();
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
    } catch (...) {
        *error = "unknown failure";
    }
    return false;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) bool gamarium_decode_with_magick(
    const std::uint8_t* bytes, std::size_t size, const gamarium::pictures::MagickRequest* request,
    gamarium::pictures::Picture* picture, std::string* error) {
    return decodeInto(picture, error, [&] { return gamarium::pictures::magickDecoding({bytes, size}, *request); });
}

__attribute__((visibility("default"))) bool gamarium_decode_emf(const std::uint8_t* bytes, std::size_t size,
                                                                gamarium::pictures::Picture* picture,
                                                                std::string* error) {
    return decodeInto(picture, error, [&] { return gamarium::pictures::emfDecoding({bytes, size}); });
}

} // extern "C"
