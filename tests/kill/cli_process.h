#pragma once

#include <string>
#include <vector>

#include <sys/types.h>
#include <unistd.h>

namespace gamarium::testing {

// Starts `gamarium-cli` with `arguments` in a child process; returns its
// process id, for the test to kill or wait for.
inline pid_t startCli(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(GAMARIUM_CLI));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(GAMARIUM_CLI, argv.data());
        _exit(127);
    }
    return child;
}

} // namespace gamarium::testing
