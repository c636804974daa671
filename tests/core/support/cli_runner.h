#pragma once

#include "core/support/run_command.h"
#include "core/support/temp_folder.h"
#include "files/files.h"

#include <fstream>
#include <string>

namespace gamarium::testing {

// Runs gamarium-cli on a program folder; standard error goes to a file.
inline CommandResult cli(const TempFolder& home, const std::string& arguments, const std::string& prefix = "") {
    return runCommand(prefix + std::string(GAMARIUM_CLI) + " --home '" + home.path().string() + "' " + arguments +
                      " 2>'" + (home.path() / "stderr.txt").string() + "'");
}

inline std::string errorText(const TempFolder& home) {
    return files::readFile(home.path() / "stderr.txt");
}

// Writes a file into the program folder and returns its quoted path.
inline std::string write(const TempFolder& home, const std::string& name, const std::string& content) {
    const auto file = home.path() / name;
    std::ofstream(file, std::ios::binary) << content;
    return "'" + file.string() + "'";
}

} // namespace gamarium::testing
