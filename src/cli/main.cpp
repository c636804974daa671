// gamarium-cli: batch commands on the bases of a program folder, through the
// same core functions the windows use.
#include "cli/command_line.h"
#include "core/files/system.h"

#include <iostream>

int main(int argc, char** argv) {
    // Memory freed is kept for the next use: fresh pages cost more than the work
    // on them in a run over a large base.
    gamarium::files::reuseFreedMemory();
    std::ios::sync_with_stdio(false);
    return gamarium::cli::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
