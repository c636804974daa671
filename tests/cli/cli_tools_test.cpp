#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

class CliTools : public ::testing::Test {
protected:
    void SetUp() override {
        gamarium::testing::makeGamesBase(
            home_, "N,Sid,Name,Image1,Image2\r\n5,a,Abc,abc.png,\r\n5,b,beta,,Beta2.png\r\n9,z,Zed,zed.png,\r\n");
        fs::create_directories(home_.path() / "images" / "games" / "a");
        std::ofstream(home_.path() / "images" / "games" / "a" / "abc.png") << "picture";
    }
    TempFolder home_;
};

TEST_F(CliTools, EachToolPrintsWhatTheWindowShows) {
    struct Case {
        const char* arguments;
        int exitCode;
        std::string out;
    };
    const Case cases[] = {
        {"renumber games", 0, "Ренумерация завершена!\n"},
        {"check names games", 0, "Проверка закончена!\n"},
        {"check pictures games", 0, "Beta2.png 2\nzed.png 3\nПроверка закончена!\n"},
        {"check picture-names games", 0, "Проверка закончена!\n"},
        {"light games", 0, "Не могу найти zed.png\nСоздание списка Light завершено!\n"},
        {"rename games 1 Bcd", 0,
         "Внимание!!\nЯ переместил файлы\nabc.png\nв папку \"\\b\"\nПереименование закончено!\n"},
        {"check names games", 0, "Проверка закончена!\n"}, // Bcd went before beta
        {"rename games 9 X", 1, ""},
        {"rename games x X", 1, ""},
        {"check colours games", 2, ""},
    };
    for (const Case& c : cases) {
        const auto result = cli(home_, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << ": " << errorText(home_);
        EXPECT_EQ(result.out, c.out) << c.arguments;
    }
    EXPECT_TRUE(fs::exists(home_.path() / "images" / "games" / "b" / "abc.png"));
    EXPECT_TRUE(fs::exists(home_.path() / "images" / "games" / "light" / "a" / "abc.png"));
}

TEST_F(CliTools, MergeAddsTheListAndRefusesAForeignFile) {
    const std::string list = write(home_, "list.txt", "Game (U) [!];u\r\n\r\nTetris (PD);pd\r\nbroken\r\n");
    const auto merged = cli(home_, "merge games " + list);
    EXPECT_EQ(merged.exitCode, 0) << errorText(home_);
    EXPECT_EQ(merged.out, "Game (U) [!];u\n\nTetris (PD);pd\nbroken\nСписок прочитан в кодировке Windows-1251.\n"
                          "Пропущена строка 4: broken\n");
    const std::string exported = cli(home_, "export games").out;
    EXPECT_NE(exported.find("10,g,Game,u,"), std::string::npos) << exported;
    EXPECT_NE(exported.find("11,pd,Tetris,jue,"), std::string::npos) << exported;

    const auto refused = cli(home_, "merge games " + write(home_, "bad.txt", "no separator\r\nGame;u\r\n"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(errorText(home_).find("файл не тот. Оставь эту затею."), std::string::npos);
    EXPECT_EQ(cli(home_, "export games").out, exported);
}

} // namespace
} // namespace gamarium
