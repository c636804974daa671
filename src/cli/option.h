#pragma once

#include <string_view>

namespace gamarium::cli {

// An option of a command: a flag ("--cut") or, with a value name, an option
// that takes the next word as its value ("--encoding utf8|cp1251"); only an
// option that repeats may be given more than once. A value that `accepts`
// refuses is wrong usage, as a missing one is. Every option is declared
// once, in cli/options.h.
struct Option {
    std::string_view name;
    std::string_view valueName = {};
    bool repeats = false;
    bool (*accepts)(std::string_view value) = nullptr;
    // Taken only when the command's first word is this ("check orphans --move").
    std::string_view onlyFor = {};
};

} // namespace gamarium::cli
