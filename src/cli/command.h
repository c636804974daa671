#pragma once

#include "cli/invocation.h"
#include "cli/option.h"

#include <string_view>
#include <vector>

namespace gamarium::cli {

// What a command opens before it runs: nothing (it works on files, or on
// the base's folder as a whole), the base its NAME names, or only the one
// table --patches chooses, for what must work while the other table is
// missing or damaged, or the base as it lies, for a restore that puts
// missing, damaged or foreign tables right.
enum class Opens { Nothing, Base, ChosenTable, ForRestore };

// One command of gamarium-cli, declared once: the usage text and the
// parsing of its words and options come from this.
struct Command {
    std::string_view name;
    std::vector<std::string_view> arguments;  // shown in the usage line; the count is required
    bool lastRepeats = false;                 // the last argument may be given many times
    std::vector<Option> options;              // from cli/options.h
    // What the command works on: its base is opened (as the editor opens
    // it) before it runs, and handed over in the invocation.
    Opens opens = Opens::Nothing;
    std::string_view help;                    // what it does; '\n' starts another line
    int (*run)(Invocation&);
};

// Every command, in the order the usage text lists them.
const std::vector<Command>& commands();

} // namespace gamarium::cli
