// Reading a game list file as the merge does: the bytes as text, the lines,
// and the game each line gives.
#include "core/error.h"
#include "core/files/plain_name.h"
#include "core/tools/list_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    tools::ListFile list;
    try {
        list = tools::readListFile({reinterpret_cast<const char*>(data), size});
    } catch (const Error&) {
        return 0;
    }
    for (const std::string& line : tools::listLines(list.text)) {
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
        // A game has a name without tags, a region, and a Sid that names a
        // picture folder.
        if (const auto game = tools::parseListLine(line))
            if (game->name.empty() || game->name.find_first_of("[(") != std::string::npos || game->region.empty() ||
                !files::isPlainName(game->sid))
                __builtin_trap();
    }
    return 0;
}
