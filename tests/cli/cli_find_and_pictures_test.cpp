#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

class CliFindAndPictures : public ::testing::Test {
protected:
    void SetUp() override {
        gamarium::testing::makeGamesBase(home_, "N,Sid,Name,Region,Publisher,Year,Text1,Image1\r\n"
                                                "1,c,Chrono Trigger,u,Squaresoft,1995,\"Ёлка и ДРАКОН\",\r\n"
                                                "7,k,Konami Hits,j,KONAMI,1994,Mode 7 demo,konami.png\r\n");
    }
    TempFolder home_;
};

TEST_F(CliFindAndPictures, FindPrintsEachMatchingField) {
    struct Case {
        const char* arguments;
        int exitCode;
        std::string out;
    };
    const Case cases[] = {
        {"find games konami", 0, "2\t7\tKonami Hits\tName\n2\t7\tKonami Hits\tPublisher\n"},
        {"find games KONAMI --field publisher --field Year", 0, "2\t7\tKonami Hits\tPublisher\n"},
        {"find games 199 --field Year", 0, "1\t1\tChrono Trigger\tYear\n2\t7\tKonami Hits\tYear\n"},
        {"find games 199 --field Year --word", 0, ""},
        {"find games 'ёлка'", 0, "1\t1\tChrono Trigger\tText1\n"},
        {"find games 'дра' --word", 0, ""},
        {"find games 'ぁ'", 1, ""},
        {"find games x --field Sid", 2, ""},
        {"find games", 2, ""},
    };
    for (const Case& c : cases) {
        const auto result = cli(home_, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << ": " << errorText(home_);
        EXPECT_EQ(result.out, c.out) << c.arguments;
    }
    ASSERT_EQ(cli(home_, "find games 'дра' --word").exitCode, 0);
    EXPECT_EQ(errorText(home_), "Ничего не найдено.\n");
    EXPECT_NE(cli(home_, "find games 'ぁ'").exitCode, 0);
    EXPECT_NE(errorText(home_).find("U+3041"), std::string::npos) << "the refusal names the character: " << errorText(home_);
}

TEST_F(CliFindAndPictures, PicturesAddsOnceAndCountsWhatItDid) {
    const fs::path collection = home_.path() / "collection";
    fs::create_directories(collection / "Named_Snaps");
    fs::copy_file(fs::path(GAMARIUM_TEST_DATA) / "pictures" / "quad.png",
                  collection / "Named_Snaps" / "Chrono Trigger (USA).png");
    std::ofstream(collection / "Unknown Game (USA).png") << "x";
    const std::string folder = " '" + collection.string() + "'";

    const auto dry = cli(home_, "pictures games" + folder + " --dry-run");
    EXPECT_EQ(dry.exitCode, 0) << errorText(home_);
    EXPECT_EQ(dry.out, "Image1 = Chrono_Trigger1.png из Named_Snaps/Chrono Trigger (USA).png (игра 1)\n"
                       "Нет такой игры: Unknown Game (USA).png\n"
                       "Пробный прогон, ничего не изменено. Добавлено: 1, уже были: 0, без игры: 1, пропущено: 0\n");
    EXPECT_EQ(cli(home_, "pictures games" + folder + " --slot 3").exitCode, 0) << errorText(home_);
    EXPECT_TRUE(fs::exists(home_.path() / "images" / "games" / "c" / "Chrono_Trigger3.png"));
    EXPECT_NE(cli(home_, "export games").out.find(",,Chrono_Trigger3.png,"), std::string::npos);
    EXPECT_EQ(cli(home_, "pictures games" + folder).out,
              "Нет такой игры: Unknown Game (USA).png\nДобавлено: 0, уже были: 1, без игры: 1, пропущено: 0\n");
    EXPECT_EQ(cli(home_, "pictures games" + folder + " --slot 6").exitCode, 2);
    const std::string missing = (home_.path() / "missing").string();
    EXPECT_EQ(cli(home_, "pictures games '" + missing + "'").exitCode, 1);
    EXPECT_NE(errorText(home_).find("«" + missing + "»"), std::string::npos) << errorText(home_);
}

TEST_F(CliFindAndPictures, CheckOrphansListsAndMovesAside) {
    const fs::path root = home_.path() / "images" / "games";
    fs::create_directories(root / "k");
    fs::create_directories(root / "old");
    std::ofstream(root / "k" / "KONAMI.PNG") << "same";
    std::ofstream(root / "old" / "konami.png") << "same";
    const auto listed = cli(home_, "check orphans games");
    EXPECT_EQ(listed.exitCode, 0) << errorText(home_);
    EXPECT_EQ(listed.out, "Файл без записи: old/konami.png\n"
                          "Папка без записей: old\n"
                          "Одинаковые: k/KONAMI.PNG = old/konami.png\n"
                          "Файлов без записи: 1, папок без записей: 1, повторов: 1\n");
    const auto moved = cli(home_, "check orphans games --move");
    EXPECT_NE(moved.out.find("Перенесено в _orphans: 1\n"), std::string::npos) << moved.out;
    EXPECT_TRUE(fs::exists(root / "_orphans" / "old" / "konami.png"));
    EXPECT_TRUE(fs::exists(root / "k" / "KONAMI.PNG"));
    EXPECT_EQ(cli(home_, "check names games --move").exitCode, 2);
}

} // namespace
} // namespace gamarium
