#pragma once

#include "cli/invocation.h"

#include <string_view>
#include <vector>

namespace gamarium::cli {

// An option of a command: a flag ("--cut") or, with a value name, an option
// that takes the next word as its value ("--encoding utf8|cp1251"); only an
// option that repeats may be given more than once. A value that `accepts`
// refuses is wrong usage, as a missing one is.
struct Option {
    std::string_view name;
    std::string_view valueName = {};
    bool repeats = false;
    bool (*accepts)(std::string_view value) = nullptr;
};

// One command of gamarium-cli, declared once: the usage text and the
// parsing of its words and options come from this.
struct Command {
    std::string_view name;
    std::vector<std::string_view> arguments;  // shown in the usage line; the count is required
    bool lastRepeats = false;                 // the last argument may be given many times
    std::vector<Option> options;
    std::string_view help;                    // what it does; '\n' starts another line
    int (*run)(Invocation&);
};

// Every command, in the order the usage text lists them.
const std::vector<Command>& commands();

} // namespace gamarium::cli
