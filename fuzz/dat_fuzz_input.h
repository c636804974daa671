#pragma once

#include "core/dat/dat_game.h"

#include <cstdint>
#include <sstream>
#include <string>

namespace gamarium::fuzz {

// The fuzz input as the file a reader streams from.
inline std::istringstream datStream(const std::uint8_t* data, std::size_t size) {
    return std::istringstream(std::string(reinterpret_cast<const char*>(data), size));
}

// What every game read must hold, whatever the file: a line inside the file.
inline void checkGames(const dat::DatContents& contents, std::size_t size) {
    if (contents.games.size() > dat::kMostGames) __builtin_trap();
    for (const dat::DatGame& game : contents.games)
        if (game.line < 1 || static_cast<std::size_t>(game.line) > size + 1) __builtin_trap();
}

} // namespace gamarium::fuzz
