#include "core/dat/logiqx_reader.h"
#include "dat_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in = gamarium::fuzz::datStream(data, size);
    gamarium::dat::DatContents contents;
    try {
        gamarium::dat::readLogiqx(in, contents);
    } catch (const gamarium::dat::DamagedDat&) {
        return 0;
    }
    gamarium::fuzz::checkGames(contents, size);
    return 0;
}
