#pragma once

#include "core/pictures/magick_decoder.h"
#include "core/pictures/picture.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The decoders that need the large picture libraries (GraphicsMagick and
// its delegates, librsvg, libemf2svg) make a module of their own,
// libgamarium-pictures.so, loaded the first time a picture needs one of
// them (picture_library.cpp): a command that decodes nothing starts
// without those libraries, in a fraction of the time.
namespace gamarium::pictures {

inline constexpr const char* kPictureModule = "libgamarium-pictures.so";

// The module's decoding, behind its entry points; they throw Error.
Picture magickDecoding(std::span<const std::uint8_t> bytes, const MagickRequest& request);
Picture emfDecoding(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures

// The module's entry points, found by name. Each fills `picture`, or
// returns false with the reason in `error`: no exception leaves the module.
extern "C" {
bool gamarium_decode_with_magick(const std::uint8_t* bytes, std::size_t size,
                                 const gamarium::pictures::MagickRequest* request,
                                 gamarium::pictures::Picture* picture, std::string* error);
bool gamarium_decode_emf(const std::uint8_t* bytes, std::size_t size, gamarium::pictures::Picture* picture,
                         std::string* error);
}
