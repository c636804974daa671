// The tools given what a careless or hostile user might give them: picture
// names that point elsewhere, linked folders, pipes, odd names and odd
// bytes in a list. Files outside the picture folders stay as they were,
// and a refusal changes nothing.
#include "core/files/files.h"
#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

class CliToolsSafety : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(cli(home_, "create games").exitCode, 0); }
    // Imports games given as CSV rows under the header `columns`.
    void games(const std::string& columns, const std::string& rows) {
        ASSERT_EQ(cli(home_, "import games " + write(home_, "g.csv", columns + "\r\n" + rows)).exitCode, 0)
            << errorText(home_);
    }
    fs::path pictures() const { return home_.path() / "images" / "games"; }
    void picture(const std::string& sid, const std::string& name, const std::string& bytes) {
        fs::create_directories(pictures() / sid);
        std::ofstream(pictures() / sid / name, std::ios::binary) << bytes;
    }
    std::string exported() { return cli(home_, "export games").out; }
    // `timeout` ends a command that hangs; its exit code is then 124.
    gamarium::testing::CommandResult run(const std::string& arguments) {
        return cli(home_, arguments, "timeout 20 ");
    }
    TempFolder home_;
};

// A picture name is a name inside the game's picture folder; any other
// game's picture is refused with a line and the others are still copied.
TEST_F(CliToolsSafety, LightTouchesNoFileOutsideThePictureFolders) {
    const fs::path outside = home_.path() / "outside.png";
    std::ofstream(outside, std::ios::binary) << "keep me";
    picture("m", "good.png", "good");
    const std::string absolute = outside.string();
    games("Sid,Name,Image1", "m,Abs," + absolute + "\r\nm,Up,../../outside.png\r\nm,Back,..\\..\\outside.png\r\n"
                             "m,Drive,C:outside.png\r\nm,Good,good.png\r\n");
    const auto result = run("light games");
    EXPECT_EQ(result.exitCode, 0) << errorText(home_);
    EXPECT_EQ(files::readFile(outside), "keep me");
    EXPECT_EQ(files::readFile(pictures() / "light" / "m" / "good.png"), "good");
    for (const std::string& name : {absolute, std::string("../../outside.png"), std::string("C:outside.png")})
        EXPECT_NE(result.out.find(name), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("Создание списка Light завершено!\n")) << result.out;
}

// A light folder that is a link to the pictures themselves: a copy onto
// its own source is refused before the file is opened for writing.
TEST_F(CliToolsSafety, LightThroughALinkedFolderLeavesTheOriginals) {
    picture("m", "mario.png", "mario");
    games("Sid,Name,Image1", "m,Mario,mario.png\r\n");
    fs::create_directories(pictures() / "light");
    fs::create_directory_symlink("../m", pictures() / "light" / "m");
    EXPECT_EQ(run("light games").exitCode, 1);
    EXPECT_NE(errorText(home_).find("mario.png"), std::string::npos) << errorText(home_);
    EXPECT_EQ(files::readFile(pictures() / "m" / "mario.png"), "mario");
}

TEST_F(CliToolsSafety, LightCopiesAnEmptyPictureAndDoesNotWaitOnAPipe) {
    picture("e", "empty.png", "");
    games("Sid,Name,Image1", "e,Empty,empty.png\r\n");
    auto result = run("light games");
    EXPECT_EQ(result.exitCode, 0) << errorText(home_);
    EXPECT_TRUE(fs::is_regular_file(pictures() / "light" / "e" / "empty.png"));

    ASSERT_EQ(mkfifo((pictures() / "e" / "pipe.png").c_str(), 0644), 0);
    games("Sid,Name,Image1", "e,Pipe,pipe.png\r\n");
    result = run("light games");
    EXPECT_EQ(result.exitCode, 1) << "a pipe is a picture that cannot be read, not one to wait on";
    EXPECT_NE(errorText(home_).find("pipe.png"), std::string::npos) << errorText(home_);
}

// A new name whose picture group could not be a folder name, or that holds
// a character Windows-1251 has not, is refused before anything changes.
TEST_F(CliToolsSafety, RenameRefusesNamesThatCannotBeStoredOrFiled) {
    games("Sid,Name,Image1", "a,Abc,abc.png\r\nz,Zed,\r\n");
    picture("a", "abc.png", "abc");
    const std::string before = exported();
    for (const char* name : {"'.hack'", "'..'", "\"$(printf '\\001Abc')\"", "'/Abc'", "'\\Abc'", "'Pokémon'"}) {
        const auto result = run(std::string("rename games 1 ") + name);
        EXPECT_EQ(result.exitCode, 1) << name;
        const std::string message = errorText(home_);
        EXPECT_NE(message.find(std::string_view(name).ends_with("mon'") ? "«é»" : "папки"), std::string::npos)
            << message;
        EXPECT_EQ(exported(), before) << name;
        EXPECT_EQ(files::readFile(pictures() / "a" / "abc.png"), "abc") << name;
    }
}

// A picture that another game names too stays for that game: it is copied
// into the new folder, not moved, and the output says so.
TEST_F(CliToolsSafety, RenameCopiesAPictureOtherGamesShare) {
    games("Sid,Name,Image1,Image2", "a,Abc,shared.png,own.png\r\na,Axe,,SHARED.PNG\r\nz,Zed,,\r\n");
    picture("a", "shared.png", "shared");
    picture("a", "own.png", "own");
    const auto result = run("rename games 1 Bcd");
    EXPECT_EQ(result.exitCode, 0) << errorText(home_);
    EXPECT_EQ(files::readFile(pictures() / "a" / "shared.png"), "shared");
    EXPECT_EQ(files::readFile(pictures() / "b" / "shared.png"), "shared");
    EXPECT_FALSE(fs::exists(pictures() / "a" / "own.png"));
    EXPECT_TRUE(fs::exists(pictures() / "b" / "own.png"));
    EXPECT_NE(result.out.find("shared.png"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("скопирова"), std::string::npos) << result.out;
    EXPECT_EQ(cli(home_, "check pictures games").out, "Проверка закончена!\n");
}

// A list is read as UTF-8 when it is UTF-8 with characters beyond ASCII
// (or begins with its byte order mark), else as Windows-1251; a NUL byte or
// a character the code page has not refuses the whole file.
TEST_F(CliToolsSafety, MergeReadsUtf8ListsAndRefusesWhatItCannotStore) {
    struct Case {
        const char* what;
        std::string list;
        int exitCode;
        std::string name;     // the name stored (UTF-8), when merged
        std::string said;     // in the output or the message
    };
    const Case cases[] = {
        {"UTF-8", "Тетрис;r\r\n", 0, "Тетрис", "UTF-8"},
        {"UTF-8 with its mark", "\xEF\xBB\xBFTetris;u\r\n", 0, "Tetris", "UTF-8"},
        {"Windows-1251", "\xD2\xE5\xF2\xF0\xE8\xF1;r\r\n", 0, "Тетрис", "Windows-1251"},
        {"a character Windows-1251 has not", "Tetris;u\r\nPokémon;u\r\n", 1, "", "é"},
        {"a NUL byte", std::string("Tetris;u\r\nBad\0Name;u\r\n", 22), 1, "", "Строка 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = exported();
        const auto result = run("merge games " + write(home_, "list.txt", c.list));
        const std::string message = errorText(home_);
        EXPECT_EQ(result.exitCode, c.exitCode) << message;
        if (c.exitCode == 0) {
            EXPECT_NE(exported().find("," + c.name + ","), std::string::npos) << exported();
            EXPECT_NE(result.out.find(c.said), std::string::npos) << result.out;
        } else {
            EXPECT_EQ(exported(), before) << "nothing added";
            EXPECT_NE(message.find(c.said), std::string::npos) << message;
        }
    }
}

// A control character that a list brought into a name reaches the terminal
// escaped, whichever command prints the name.
TEST_F(CliToolsSafety, PrintedNamesShowControlCharactersEscaped) {
    const auto merged = cli(home_, "merge games " + write(home_, "list.txt", "Zap\x1B" "c;u\r\nAlpha;u\r\nNo region \x1B[5m\r\n"));
    ASSERT_EQ(merged.exitCode, 0) << errorText(home_);
    const std::pair<const char*, std::string> printed[] = {
        {"merge", merged.out}, // the list and the line passed over
        {"check names", cli(home_, "check names games").out},
        {"jump", cli(home_, "jump games Zap").out},
        {"find", cli(home_, "find games zap").out},
    };
    for (const auto& [command, out] : printed) {
        EXPECT_NE(out.find("Zap\\x1Bc"), std::string::npos) << command << ": " << out;
        EXPECT_EQ(out.find('\x1B'), std::string::npos) << command << ": " << out;
    }
    EXPECT_NE(merged.out.find("Пропущена строка 3: No region \\x1B[5m"), std::string::npos) << merged.out;
}

} // namespace
} // namespace gamarium
