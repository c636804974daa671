#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;

const std::string kSample = std::string(GAMARIUM_TEST_DATA) + "/dat/";

std::string sampleFiles() {
    std::string files;
    for (const char* file : {"snes-genre.dat", "snes-no-intro.xml", "snes-developer.dat", "snes-publisher.dat",
                             "snes-releaseyear.dat", "snes-maxusers.dat"})
        files += " '" + kSample + file + "'";
    return files;
}

std::string lastLine(const std::string& out) {
    const std::size_t end = out.size() - (out.ends_with('\n') ? 1 : 0);
    return out.substr(out.rfind('\n', end - 1) + 1, end - out.rfind('\n', end - 1) - 1);
}

TEST(CliDat, ImportsTheSampleOnceAndThenChangesNothing) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create snes").exitCode, 0);
    const std::string emptyExport = cli(home, "export snes").out;

    const auto dry = cli(home, "dat snes" + sampleFiles() + " --dry-run");
    EXPECT_EQ(dry.exitCode, 0) << errorText(home);
    EXPECT_NE(dry.out.find("добавится: Actraiser 2 (e)\n"), std::string::npos) << dry.out;
    EXPECT_EQ(lastLine(dry.out), "Пробный прогон, ничего не изменено. Добавлено: 116, дополнено: 0, без изменений: 0");
    EXPECT_EQ(cli(home, "export snes").out, emptyExport);

    const auto first = cli(home, "dat snes" + sampleFiles());
    EXPECT_EQ(first.exitCode, 0) << errorText(home);
    EXPECT_NE(first.out.find("без диакритики: 2, обрезано: 0, оставлено пустым: 0\n"), std::string::npos);
    EXPECT_EQ(lastLine(first.out), "Добавлено: 116, дополнено: 0, без изменений: 0");
    EXPECT_EQ(cli(home, "check names snes").out, "Проверка закончена!\n");

    const std::string imported = cli(home, "export snes").out;
    const auto second = cli(home, "dat snes" + sampleFiles());
    EXPECT_EQ(second.out, "Добавлено: 0, дополнено: 0, без изменений: 116\n");
    EXPECT_EQ(cli(home, "export snes").out, imported);
}

// The report shows the DAT's own characters; a game passed over is said
// each time and never comes back as a record of its own.
TEST(CliDat, PassesOverANameTheCodePageCannotHoldEveryTime) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create snes").exitCode, 0);
    const std::string dat = " '" + kSample + "plain-forms.dat'";
    const auto first = cli(home, "dat snes" + dat);
    EXPECT_EQ(first.exitCode, 0) << errorText(home);
    EXPECT_NE(first.out.find("«ＳＤガンダム Ｘ (Japan)», Name: игра пропущена: символ «ガ» (U+30AC)"), std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("«Ranma ½ - Hard Battle (USA)», File: без диакритики «Ranma 1_2 - Hard Battle (USA).sfc»"),
              std::string::npos)
        << first.out;
    EXPECT_EQ(lastLine(first.out), "Добавлено: 5, дополнено: 0, без изменений: 0, пропущено: 1");
    const std::string imported = cli(home, "export snes").out;
    const auto second = cli(home, "dat snes" + dat);
    EXPECT_EQ(lastLine(second.out), "Добавлено: 0, дополнено: 0, без изменений: 5, пропущено: 1");
    EXPECT_EQ(cli(home, "export snes").out, imported);
}

TEST(CliDat, RefusesWholeWhatItCannotRead) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create snes").exitCode, 0);
    const std::string emptyExport = cli(home, "export snes").out;
    const std::string dat = " '" + kSample + "snes-no-intro.dat'";
    const std::string picture = "'" + std::string(GAMARIUM_TEST_DATA) + "/pictures/quad.png'";
    struct Case {
        std::string arguments;
        int exitCode;
        std::string error;
    };
    const Case cases[] = {
        {"dat snes" + dat + " " + write(home, "damaged.dat", "game ( comment \"A\"\n developer \"D )\n"), 1,
         "damaged.dat, строка 2: кавычка не закрыта"},
        {"dat snes" + dat + " " + write(home, "list.txt", "Game (U);u\r\n"), 1, "list.txt, строка 1:"},
        {"dat snes" + dat + " " + write(home, "header.dat", "clrmamepro ( name \"x\" )\n"), 1,
         "header.dat: ни игр DAT, ни метаданных"},
        {"dat snes '" + kSample + "snes-genre.dat'", 1, "нет DAT-файла с играми"},
        {"dat nobase" + dat, 1, ""},
        {"dat snes", 2, ""},
        {"dat snes" + dat + " --dry", 2, ""},
        // Each file by its whole path, what is wrong in words, and nothing of
        // the file echoed raw to the terminal.
        {"dat snes '" + home.path().string() + "'", 1, home.path().string() + ": это папка, а не файл"},
        {"dat snes /nonexistent/snes.dat", 1, "/nonexistent/snes.dat: нет такого файла"},
        {"dat snes " + picture, 1, picture.substr(1, picture.size() - 2) + ", строка 2: управляющий символ U+001A"},
        {"dat snes " + write(home, "escape.dat", "game ( name \"A\" rom ( name \"a\" size 1 crc \x1B[2J ) )\n"), 1,
         "escape.dat, строка 1: управляющий символ U+001B в «\\x1B[2J»"},
        {"dat snes " + write(home, "nul.dat", std::string("game ( name \"A\0\" )\n", 19)), 1,
         "nul.dat, строка 1: нулевой байт; это не текстовый файл"},
    };
    for (const Case& c : cases) {
        const auto result = cli(home, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        const std::string error = errorText(home);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.arguments << ": " << error;
        EXPECT_EQ(std::count_if(error.begin(), error.end(), [](char b) { return static_cast<unsigned char>(b) < 0x20; }),
                  std::count(error.begin(), error.end(), '\n'))
            << c.arguments << ": " << error;
        EXPECT_EQ(cli(home, "export snes").out, emptyExport) << c.arguments;
    }
}

} // namespace
} // namespace gamarium
