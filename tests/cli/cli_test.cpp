#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
using Result = gamarium::testing::CommandResult;

const std::string kGameHeader =
    "N,Sid,Name,Region,Publisher,Developer,Year,Ngamers,Type,Genre,File,Size,Image1,Image2,Image3,Image4,Image5,"
    "Text1,Text2,Text3,Text4,Related,Rsize,Analog,Drname,Rating,Patch\r\n";

TEST(Cli, CreateImportExportRoundTrip) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create Игры").exitCode, 0);
    ASSERT_EQ(cli(home, "create snes").exitCode, 0);
    EXPECT_EQ(cli(home, "list").out.size(), std::string("Игры\nsnes\n").size());
    EXPECT_EQ(files::readFile(home.path() / "bases.ini").substr(0, 6), "\xC8\xE3\xF0\xFB\r\n");

    const std::string csv = write(home, "in.csv",
                                  "Name,Year,Text1,N\r\n"
                                  "Марио,1985,\"строка 1\r\nстрока 2, \"\"цитата\"\"\",1\r\n"
                                  "Contra,,,2\r\n");
    ASSERT_EQ(cli(home, "import Игры " + csv).exitCode, 0) << errorText(home);
    const Result exported = cli(home, "export Игры");
    ASSERT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, kGameHeader +
                                "1,,Марио,,,,1985,,,,,,,,,,,\"строка 1\r\nстрока 2, \"\"цитата\"\"\",,,,,,,,,\r\n"
                                "2,,Contra,,,,,,,,,,,,,,,,,,,,,,,,\r\n");

    // Exported, imported elsewhere and exported again: the same bytes.
    ASSERT_EQ(cli(home, "import snes " + write(home, "all.csv", exported.out)).exitCode, 0);
    EXPECT_EQ(cli(home, "export snes").out, exported.out);

    const std::string patches = write(home, "p.csv", "Patch,Text\r\nRus,rus\r\n");
    EXPECT_EQ(cli(home, "import snes --patches " + patches).exitCode, 1) << "a language code of 3 letters";
    ASSERT_EQ(cli(home, "import snes --patches --cut " + patches).exitCode, 0);
    EXPECT_EQ(cli(home, "export snes --patches").out, "N,Patch,Size,Proc,Text,Autor,Year\r\n,Rus,,,ru,,\r\n");
}

TEST(Cli, ABadRowAddsNothing) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create games").exitCode, 0);
    const std::string csv = write(home, "bad.csv", "Name,Size\r\nA,1\r\nB,99999\r\n");
    const Result result = cli(home, "import games " + csv);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(errorText(home).find("строка 3"), std::string::npos) << errorText(home);
    EXPECT_NE(errorText(home).find("Size"), std::string::npos);
    EXPECT_EQ(cli(home, "export games").out, kGameHeader);

    EXPECT_EQ(cli(home, "import games " + write(home, "unknown.csv", "Name,Colour\r\nA,red\r\n")).exitCode, 1);
    EXPECT_NE(errorText(home).find("Colour"), std::string::npos);
    EXPECT_EQ(cli(home, "export games").out, kGameHeader);
}

TEST(Cli, ExitCodes) {
    TempFolder home;
    struct Case {
        const char* arguments;
        int exitCode;
        const char* says = ""; // what a refusal names, before the usage text
    };
    const Case cases[] = {
        {"", 2},
        {"frobnicate", 2, "нет команды «frobnicate»"},
        {"create", 2, "create: дано слов 0, нужно 1"},
        {"create a b", 2},
        {"create games --force", 2, "у команды create нет ключа «--force»"},
        {"create games", 0},
        {"create games", 1},
        {"create games --replace", 0},
        {"create 'a/b'", 1},
        {"empty games", 0},
        {"empty missing", 1},
        {"export missing", 1},
        {"export games --encoding koi8", 2, "--encoding: значение «koi8» не подходит"},
        {"import games /no/such/file.csv", 1},
        {"check spelling games", 2, "check: нет такого «spelling», есть names|pictures|picture-names|orphans"},
        {"check names games --move", 2, "--move бывает только у check orphans"},
        {"check names games", 0},
        {"check orphans games --move", 0},
        {"check names missing", 1},
        {"publish . sftp://me@example.org/www --jobs 17", 2, "--jobs: значение «17» не подходит"},
    };
    for (const Case& c : cases) {
        const Result result = cli(home, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        const std::string message = errorText(home);
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        }
        if (*c.says) {
            EXPECT_EQ(message.rfind(std::string("gamarium-cli: ") + c.says + "\nвызов:", 0), 0u) << message;
        }
    }
}

TEST(Cli, VersionAndHelp) {
    const Result version = gamarium::testing::runCommand(std::string(GAMARIUM_CLI) + " --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "gamarium-cli " GAMARIUM_VERSION "\n");
    const Result help = gamarium::testing::runCommand(std::string(GAMARIUM_CLI) + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("вызов: gamarium-cli", 0), 0u) << help.out;
}

TEST(Cli, JumpPrintsWhereTheQuickJumpLands) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create games").exitCode, 0);
    ASSERT_EQ(cli(home, "import games " + write(home, "g.csv", "N,Name\r\n1,Contra\r\n2,Zelda\r\n3,Марио\r\n")).exitCode, 0);
    struct Case {
        const char* text;
        int exitCode;
        const char* out;
    };
    // In name order by the code page's bytes: Cyrillic after Latin.
    const Case cases[] = {{"2", 0, "2\tZelda\n"},   {"мар", 0, "3\tМарио\n"}, {"z", 0, "2\tZelda\n"},
                          {"99", 0, "3\tМарио\n"},  {"''", 1, ""},                {"99999999999", 1, ""}};
    for (const Case& c : cases) {
        const Result result = cli(home, std::string("jump games ") + c.text);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.text;
        EXPECT_EQ(result.out, c.out) << c.text;
    }
    EXPECT_NE(errorText(home).find("'99999999999' is not a valid integer value"), std::string::npos);
}

TEST(Cli, IdentifyReportsEachFile) {
    TempFolder home;
    const std::string picture = std::string(GAMARIUM_TEST_DATA) + "/pictures/quad.png";
    const std::string text = write(home, "notes.txt", "hello");
    const Result result = cli(home, "identify '" + picture + "' " + text);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out.substr(0, picture.size() + 1), picture + "\t");
    EXPECT_NE(result.out.find(text.substr(1, text.size() - 2) + "\terror: "), std::string::npos) << result.out;
    EXPECT_EQ(cli(home, "identify '" + picture + "'").exitCode, 0);
    EXPECT_EQ(cli(home, "identify").exitCode, 2);
}

} // namespace
} // namespace gamarium
