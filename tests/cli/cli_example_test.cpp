// The example shipped in examples/: the seeding script, the base it makes
// and the site written from the example template.
#include "core/pages/template_file.h"
#include "core/support/cli_runner.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::CommandResult;
using gamarium::testing::errorText;
using gamarium::testing::runCommand;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

const fs::path kSource = GAMARIUM_SOURCE_DIR;

CommandResult seed(const fs::path& home, const std::string& cliPath = GAMARIUM_CLI) {
    return runCommand("'" + (kSource / "scripts/seed-example.sh").string() + "' '" + home.string() + "' '" + cliPath +
                      "' 2>&1");
}

std::set<std::string> filesIn(const fs::path& folder, const std::string& extension) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == extension) names.insert(entry.path().filename().string());
    return names;
}

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t found = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++found;
    return found;
}

// Occurrences of a placeholder as the generator finds it (any letter case),
// not counting longer words it begins ($LETTER in $LETTERLIST).
std::size_t placeholderCount(const std::string& section, const std::string& placeholder) {
    const std::string text = text::upper(section);
    const std::string word = text::upper(placeholder);
    std::size_t found = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const auto after = at + word.size();
        if (after == text.size() || !std::isalpha(static_cast<unsigned char>(text[after]))) ++found;
    }
    return found;
}

TEST(ExampleTemplate, FillsEveryPlaceholderOfTheGenerator) {
    const std::string bytes = files::readFile(kSource / "examples/site.htd");
    EXPECT_EQ(count(bytes, "\n"), count(bytes, "\r\n")) << "CR LF lines";
    EXPECT_NE(bytes.find(text::fromUtf8("Раздел").bytes()), std::string::npos) << "Windows-1251 text";
    EXPECT_NE(bytes.find("charset=\"windows-1251\""), std::string::npos);

    const pages::PageTemplate sections = pages::parseTemplate(bytes);
    struct Case {
        const char* placeholder;
        std::size_t head, block, foot; // how often each section holds it
    };
    // The generator fills one occurrence a section ($PAGES two), so each
    // stands once where it is meant to be; a second one would reach the page
    // unfilled.
    const Case cases[] = {
        {"$LETTERLIST", 1, 0, 0}, {"$LETTER", 1, 0, 0}, {"$PAGES", 1, 0, 1},  {"$Name", 0, 1, 0},
        {"$Text", 0, 1, 0},       {"$Region", 0, 1, 0}, {"$Width", 0, 1, 0},  {"$Height", 0, 1, 0},
        {"$Image", 0, 1, 0},      {"$Autor", 0, 1, 0},  {"$Genre", 0, 1, 0},  {"$Gamers", 0, 1, 0},
        {"$Size", 0, 1, 0},       {"$Pfile", 0, 1, 0},  {"$Lfile", 0, 1, 0},  {"$Rating", 0, 1, 0},
        {"$IRating", 0, 1, 0},    {"$Patch", 0, 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placeholderCount(sections.head, c.placeholder), c.head) << c.placeholder << " in the head";
        EXPECT_EQ(placeholderCount(sections.block, c.placeholder), c.block) << c.placeholder << " in the block";
        EXPECT_EQ(placeholderCount(sections.foot, c.placeholder), c.foot) << c.placeholder << " in the foot";
    }
    std::size_t dollars = 0;
    for (const std::string* section : {&sections.head, &sections.block, &sections.foot})
        dollars += count(*section, "$");
    EXPECT_EQ(dollars, 19u) << "no $-word beyond those above";
}

TEST(ExampleSite, SeedsTheBaseAndWritesAWholeSite) {
    TempFolder home;
    const CommandResult seeded = seed(home.path());
    ASSERT_EQ(seeded.exitCode, 0) << seeded.out;
    EXPECT_EQ(seeded.out, "");
    EXPECT_EQ(cli(home, "list").out, "Example\n");
    EXPECT_EQ(cli(home, "jump Example 40").out, "40\tSynth Runner\n");
    EXPECT_EQ(cli(home, "check pictures Example").out, "Проверка закончена!\n") << "every first picture in place";

    // The seed wrote the site; the same run by hand finds nothing to change.
    const fs::path site = home.path() / "site";
    const CommandResult again =
        cli(home, "pages Example '" + (home.path() / "templates/example.htd").string() + "' '" + site.string() + "'");
    EXPECT_EQ(again.exitCode, 0) << errorText(home);
    EXPECT_EQ(errorText(home), "") << "no message box";
    EXPECT_EQ(again.out, "Записано страниц: 0, без изменений: 18\n");

    const std::set<std::string> expected = {"num.htm", "a.htm", "b.htm", "c.htm",  "d.htm",  "e.htm",
                                            "f.htm",   "g.htm", "h.htm", "k.htm",  "m.htm",  "n.htm",
                                            "p.htm",   "r.htm", "s.htm", "s2.htm", "ru.htm", "dejap.htm"};
    EXPECT_EQ(filesIn(site, ".htm"), expected);

    const std::regex leftover(R"(\$[A-Za-z])");
    const std::regex source(R"re(src="([^"]*)")re");
    std::size_t blocks = 0, measured = 0;
    for (const std::string& name : expected) {
        const std::string page = files::readFile(site / name);
        EXPECT_FALSE(std::regex_search(page, leftover)) << name << " keeps a placeholder";
        EXPECT_NE(page.find(text::fromUtf8("Раздел: ").bytes()), std::string::npos) << name << " in Windows-1251";
        for (std::sregex_iterator it(page.begin(), page.end(), source), end; it != end; ++it)
            EXPECT_TRUE(fs::is_regular_file(site / (*it)[1].str())) << name << " names a missing " << (*it)[1];
        blocks += count(page, "<div class=\"game\">");
        measured += count(page, "width=\"256\" height=\"224\"");
    }
    EXPECT_EQ(blocks, 47u) << "40 games, 4 Russian translations, 3 other patches";
    EXPECT_EQ(measured, blocks) << "every game shown at its own picture's size";
    EXPECT_EQ(count(files::readFile(site / "s2.htm"), "<div class=\"game\">"), 1u) << "12 s-games, 11 a page";
}

TEST(ExampleSite, SeedingLeavesAFolderWithBasesAlone) {
    struct Case {
        const char* what;
        std::string prepare; // shell commands run in the program folder first
        std::string bases;   // `list` afterwards
    };
    const Case cases[] = {
        {"a user's own base", std::string(GAMARIUM_CLI) + " --home . create Mine", "Mine\n"},
        {"the example seeded, then deleted by the user", "touch .example-seeded", ""},
        {"the example seeded and edited", "", "Example\n"},
    };
    for (const Case& c : cases) {
        TempFolder home;
        if (!c.prepare.empty())
            ASSERT_EQ(runCommand("cd '" + home.path().string() + "' && " + c.prepare).exitCode, 0) << c.what;
        else
            ASSERT_EQ(seed(home.path()).exitCode, 0) << c.what;
        const auto everything = [&] {
            std::set<fs::path> all;
            for (const auto& entry : fs::recursive_directory_iterator(home.path())) all.insert(entry.path());
            return all;
        };
        const std::set<fs::path> before = everything();
        if (c.prepare.empty()) {
            fs::remove(home.path() / "site/a.htm");
            ASSERT_EQ(cli(home, "empty Example").exitCode, 0);
        }

        const CommandResult again = seed(home.path());
        EXPECT_EQ(again.exitCode, 0) << c.what << ": " << again.out;
        if (!c.prepare.empty()) {
            EXPECT_EQ(everything(), before) << c.what << ": nothing made or changed";
        }
        EXPECT_EQ(cli(home, "list").out, c.bases) << c.what;
        EXPECT_EQ(cli(home, "export Example").out.find("Synth Runner"), std::string::npos) << c.what;
        EXPECT_FALSE(fs::exists(home.path() / "site/a.htm")) << c.what;
    }
}

TEST(ExampleSite, AFailedSeedTakesBackOnlyWhatItMade) {
    TempFolder home;
    // A file where the template folder would go stops the seed half way,
    // after the base was made and filled.
    files::writeFileReplacing(home.path() / "templates", "the user's own file");
    const CommandResult seeded = seed(home.path());
    EXPECT_NE(seeded.exitCode, 0);
    EXPECT_NE(seeded.out.find("not set up"), std::string::npos) << seeded.out;
    EXPECT_EQ(cli(home, "list").out, "");
    EXPECT_FALSE(fs::exists(home.path() / "images/Example"));
    EXPECT_FALSE(fs::exists(home.path() / "site"));
    EXPECT_FALSE(fs::exists(home.path() / ".example-seeded"));
    EXPECT_EQ(files::readFile(home.path() / "templates"), "the user's own file");

    fs::remove(home.path() / "templates");
    EXPECT_EQ(seed(home.path()).exitCode, 0) << "a later run seeds the folder";
    EXPECT_EQ(cli(home, "list").out, "Example\n");
}

} // namespace
} // namespace gamarium
