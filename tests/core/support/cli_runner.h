#pragma once

#include "cli/command_line.h"
#include "core/files/files.h"
#include "core/support/run_command.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace gamarium::testing {

// The words of a command line as a shell would split it: white space
// separates, single and double quotes group (no escapes inside).
inline std::vector<std::string> shellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char c : line) {
        if (quote) {
            if (c == quote) quote = 0;
            else word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// Runs gamarium-cli's commands on a program folder in this process;
// standard error goes to a file. With a prefix (another user, say) the
// executable runs in a shell instead.
inline CommandResult cli(const TempFolder& home, const std::string& arguments, const std::string& prefix = "") {
    const files::Path errors = home.path() / "stderr.txt";
    if (!prefix.empty())
        return runCommand(prefix + std::string(GAMARIUM_CLI) + " --home '" + home.path().string() + "' " + arguments +
                          " 2>'" + errors.string() + "'");
    std::vector<std::string> words{"--home", home.path().string()};
    for (std::string& word : shellWords(arguments)) words.push_back(std::move(word));
    std::ostringstream out, err;
    CommandResult result;
    result.exitCode = gamarium::cli::run(words, out, err);
    result.out = out.str();
    std::ofstream(errors, std::ios::binary) << err.str();
    return result;
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

// The base "games" made and filled from CSV text: its games, and its
// patches when given.
inline void makeGamesBase(const TempFolder& home, const std::string& gamesCsv, const std::string& patchesCsv = {}) {
    ASSERT_EQ(cli(home, "create games").exitCode, 0) << errorText(home);
    ASSERT_EQ(cli(home, "import games " + write(home, "g.csv", gamesCsv)).exitCode, 0) << errorText(home);
    if (!patchesCsv.empty()) {
        ASSERT_EQ(cli(home, "import games --patches " + write(home, "p.csv", patchesCsv)).exitCode, 0) << errorText(home);
    }
}

} // namespace gamarium::testing
