#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

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
    EXPECT_NE(dry.out.find("добавится: Actraiser 2\n"), std::string::npos);
    EXPECT_NE(dry.out.find("пробный прогон: ничего не записано\n"), std::string::npos);
    EXPECT_EQ(lastLine(dry.out), "добавлено 116, дополнено 0, без изменений 0");
    EXPECT_EQ(cli(home, "export snes").out, emptyExport);

    const auto first = cli(home, "dat snes" + sampleFiles());
    EXPECT_EQ(first.exitCode, 0) << errorText(home);
    EXPECT_NE(first.out.find("без диакритики: 2, обрезано: 0, оставлено пустым: 0\n"), std::string::npos);
    EXPECT_EQ(lastLine(first.out), "добавлено 116, дополнено 0, без изменений 0");
    EXPECT_EQ(cli(home, "check names snes").out, "Проверка закончена!\n");

    const std::string imported = cli(home, "export snes").out;
    const auto second = cli(home, "dat snes" + sampleFiles());
    EXPECT_EQ(second.out, "добавлено 0, дополнено 0, без изменений 116\n");
    EXPECT_EQ(cli(home, "export snes").out, imported);
}

TEST(CliDat, RefusesWholeWhatItCannotRead) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create snes").exitCode, 0);
    const std::string emptyExport = cli(home, "export snes").out;
    const std::string dat = " '" + kSample + "snes-no-intro.dat'";
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
    };
    for (const Case& c : cases) {
        const auto result = cli(home, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(errorText(home).find(c.error), std::string::npos) << c.arguments << ": " << errorText(home);
        EXPECT_EQ(cli(home, "export snes").out, emptyExport) << c.arguments;
    }
}

} // namespace
} // namespace gamarium
