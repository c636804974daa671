#include "fuzz_input.h"

#include "core/pictures/probe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto file = gamarium::fuzz::splitInput(data, size)) {
        const auto probed = gamarium::pictures::probePictureBytes(file->bytes, file->format);
        if (probed && !gamarium::pictures::pictureSizeAllowed(probed->width, probed->height))
            __builtin_trap();
    }
    return 0;
}
