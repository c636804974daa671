#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto file = gamarium::fuzz::splitInput(data, size)) {
        const auto outcome = gamarium::pictures::decodePictureBytes(file->bytes, file->format);
        // A decoded picture holds exactly its pixels; anything else is a
        // decoder fault.
        const auto& picture = outcome.picture;
        if (picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3 ||
            outcome.error.empty() == picture.empty())
            __builtin_trap();
    }
    return 0;
}
