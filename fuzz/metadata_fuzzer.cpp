#include "core/dat/clrmamepro_reader.h"
#include "dat_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in = gamarium::fuzz::datStream(data, size);
    gamarium::dat::MetadataByCrc metadata;
    std::size_t blocks = 0;
    try {
        gamarium::dat::readClrmameproBlocks(in, 1, [&](const gamarium::dat::ClrItem& block) {
            if (gamarium::dat::addMetadataOf(block, metadata)) ++blocks;
        });
    } catch (const gamarium::dat::DamagedDat&) {
        return 0;
    }
    // Every CRC known comes from a block that said something.
    if (!metadata.empty() && blocks == 0) __builtin_trap();
    for (const gamarium::dat::Metadata& said : metadata.values())
        if (!said.developer && !said.publisher && !said.releaseYear && !said.genre && !said.users) __builtin_trap();
    return 0;
}
