#include "cli/command.h"
#include "cli/command_line.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace gamarium {
namespace {

struct Outcome {
    int exitCode;
    std::string out, err;
};

Outcome run(std::vector<std::string> words) {
    std::ostringstream out, err;
    const int exitCode = cli::run(words, out, err);
    return {exitCode, out.str(), err.str()};
}

TEST(CommandLine, WordsAndOptionsAreTakenAsTheCommandDeclaresThem) {
    testing::TempFolder home;
    const std::string dir = home.path().string();
    ASSERT_EQ(run({"--home", dir, "create", "games"}).exitCode, 0);
    struct Case {
        std::vector<std::string> words;
        int exitCode;
    };
    const Case cases[] = {
        {{"--home", dir, "export", "games", "--encoding", "cp1251", "--delimiter", ";"}, 0},
        {{"--home", dir, "export", "games", "--encoding"}, 2},                         // a value missing
        {{"--home", dir, "export", "games", "--patches", "--patches"}, 2},             // a flag twice
        {{"--home", dir, "export", "games", "--delimiter", ";", "--delimiter", ","}, 2},
        {{"--home", dir, "export", "games", "--cut"}, 2},                              // another command's option
        {{"--home", dir, "--patches", "export", "games"}, 2},                          // options follow the command
        {{"--home", dir, "export"}, 2},
        {{"--home", dir, "export", "games", "more"}, 2},
        {{"--home", dir, "identify"}, 2},                                              // at least one file
        {{"--home", dir, "create", "--", "--x"}, 0},                                   // "--" ends the options
        {{"--home"}, 2},
        {{"--version", "list"}, 2},
        // Option values the command table knows to be wrong, before anything is opened.
        {{"--home", dir, "export", "games", "--encoding", "latin1"}, 2},
        {{"--home", dir, "export", "games", "--delimiter", "ab"}, 2},
        {{"--home", dir, "pictures", "games", dir, "--slot", "0"}, 2},
        {{"--home", dir, "pictures", "games", dir, "--slot", "abc"}, 2},
        {{"--home", dir, "pictures", "games", dir, "--slot", "6"}, 2},
        {{"--home", dir, "find", "games", "x", "--field", "Nope"}, 2},
        {{"--home", dir, "find", "games", "x", "--field", "Name", "--field", "Sid"}, 2},
        {{"--home", dir, "pages", "games", "t.htd", dir, "--per-page", "x"}, 2},
        {{"--home", dir, "pages", "games", "t.htd", dir, "--per-page", "0"}, 2},
        {{"--home", dir, "find", "games", "x", "--field", "name", "--field", "ANY"}, 0},
    };
    for (const Case& c : cases) {
        const Outcome result = run(c.words);
        EXPECT_EQ(result.exitCode, c.exitCode) << ::testing::PrintToString(c.words) << result.err;
        if (c.exitCode == 2) {
            // At most one line saying what was wrong, then the usage text.
            const std::string usage = cli::usageText();
            ASSERT_TRUE(result.err.ends_with(usage)) << result.err;
            const std::string reason = result.err.substr(0, result.err.size() - usage.size());
            EXPECT_TRUE(reason.empty() || (reason.starts_with("gamarium-cli: ") &&
                                           std::count(reason.begin(), reason.end(), '\n') == 1))
                << reason;
        }
    }
}

TEST(CommandLine, UsageNamesEveryCommandWithItsOptions) {
    const std::string usage = cli::usageText();
    for (const cli::Command& command : cli::commands()) {
        EXPECT_NE(usage.find("\n  " + std::string(command.name) + ' '), std::string::npos) << command.name;
        for (const cli::Option& option : command.options)
            EXPECT_NE(usage.find(std::string(option.name)), std::string::npos) << option.name;
    }
    EXPECT_EQ(run({"--help"}).out, usage);
}

} // namespace
} // namespace gamarium
