#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace gamarium::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
};

// Runs a shell command and collects its standard output and exit code.
inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace gamarium::testing
