#include "core/dat/clrmamepro_reader.h"
#include "dat_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in = gamarium::fuzz::datStream(data, size);
    gamarium::dat::DatContents contents;
    try {
        gamarium::dat::readClrmamepro(in, contents);
    } catch (const gamarium::dat::DamagedDat& damaged) {
        // A damaged file is named at a line of the file.
        if (damaged.line() < 1 || static_cast<std::size_t>(damaged.line()) > size + 1) __builtin_trap();
        return 0;
    }
    gamarium::fuzz::checkGames(contents, size);
    return 0;
}
