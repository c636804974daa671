#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::runCommand;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

const std::string kPatchHeader = "N,Patch,Size,Proc,Text,Autor,Year\r\n";

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        // The lock that makes copies take turns, and the restore points.
        if (name != ".gamarium-lock" && name != "history") names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliBases, NamesReachNothingOutsideTheBaseFolder) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create x").exitCode, 0);
    ASSERT_EQ(cli(home, "import x " + write(home, "one.csv", "Name\r\nkept\r\n")).exitCode, 0);
    fs::copy_file(home.path() / "base" / "x.db", home.path() / "outside.db");
    const std::string outside = (home.path() / "outside").string();
    const char* commands[] = {"export ../outside", "import ../outside {csv}", "export '{abs}'", "import '{abs}' {csv}",
                              "export a/b", "empty ../outside", "create x_PATCH --replace", "create X_patch",
                              "export x_PATCH", "create CON", "create 'a.'", "create 'a '"};
    const std::string csv = write(home, "in.csv", "Name\r\nnew\r\n");
    for (std::string command : commands) {
        if (const auto at = command.find("{csv}"); at != std::string::npos) command.replace(at, 5, csv);
        if (const auto at = command.find("{abs}"); at != std::string::npos) command.replace(at, 5, outside);
        SCOPED_TRACE(command);
        EXPECT_EQ(cli(home, command).exitCode, 1);
    }
    EXPECT_EQ(files::readFile(home.path() / "outside.db"), files::readFile(home.path() / "base" / "x.db"));
    EXPECT_EQ(cli(home, "export x --patches").out, kPatchHeader) << "x's patch table kept its own columns";
    EXPECT_EQ(filesIn(home.path() / "base"), (std::vector<std::string>{"x.db", "x_patch.db"}));
}

TEST(CliBases, ALonePatchTableIsNotReplacedWithoutAsking) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create o").exitCode, 0);
    ASSERT_EQ(cli(home, "import o --patches " + write(home, "p.csv", "Patch\r\nRus\r\n")).exitCode, 0);
    fs::remove(home.path() / "base" / "o.db");
    EXPECT_EQ(cli(home, "create o").exitCode, 1);
    EXPECT_NE(errorText(home).find("уже есть"), std::string::npos) << errorText(home);
    EXPECT_EQ(cli(home, "export o --patches").out, kPatchHeader + ",Rus,,,,,\r\n");
    EXPECT_EQ(cli(home, "create o --replace").exitCode, 0);
    EXPECT_EQ(cli(home, "export o --patches").out, kPatchHeader);
}

TEST(CliBases, EmptyingTouchesNeitherTableWhenOneIsBad) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create g").exitCode, 0);
    ASSERT_EQ(cli(home, "import g " + write(home, "in.csv", "Name\r\nkept\r\n")).exitCode, 0);
    write(home, "base/g_patch.db", "not a table");
    EXPECT_EQ(cli(home, "empty g").exitCode, 1);
    EXPECT_NE(cli(home, "export g").out.find("kept"), std::string::npos);
}

TEST(CliBases, ALongCyrillicNameLeavesNothingHalfMade) {
    TempFolder home;
    std::string name;
    for (int i = 0; i < 118; ++i) name += "Я";
    EXPECT_EQ(cli(home, "create " + name).exitCode, 1);
    EXPECT_TRUE(filesIn(home.path() / "base").empty());
    EXPECT_EQ(cli(home, "list").out, "");
}

TEST(CliBases, AForeignFileMarkedAsOursIsNotWritten) {
    TempFolder home;
    fs::create_directories(home.path() / "base");
    const fs::path file = home.path() / "base" / "marked.db";
    ASSERT_EQ(std::system(("sqlite3 '" + file.string() +
                           "' 'pragma application_id=1195461970; create table t(a); insert into t values(1);'")
                              .c_str()),
              0);
    const std::string before = files::readFile(file);
    EXPECT_EQ(cli(home, "export marked").exitCode, 1);
    EXPECT_NE(errorText(home).find("не является таблицей"), std::string::npos) << errorText(home);
    EXPECT_EQ(files::readFile(file), before);
}

TEST(CliBases, OptionsEndAtDoubleDash) {
    TempFolder home;
    EXPECT_EQ(cli(home, "create -- -x").exitCode, 0) << errorText(home);
    EXPECT_EQ(cli(home, "create -- --replace").exitCode, 0) << errorText(home);
    const std::string listed = cli(home, "list").out;
    EXPECT_NE(listed.find("-x\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("--replace\n"), std::string::npos) << listed;
}

TEST(CliBases, ReplacingKeepsTheNameTheFileHas) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create Игра").exitCode, 0);
    ASSERT_EQ(cli(home, "create игра --replace").exitCode, 0) << errorText(home);
    EXPECT_EQ(cli(home, "list").out, "Игра\n");
    EXPECT_EQ(files::readFile(home.path() / "bases.ini"), "\xC8\xE3\xF0\xE0\r\n");
}

TEST(CliBases, ConcurrentCreatesMakeOneBase) {
    TempFolder home;
    std::string script = "cd '" + home.path().string() + "' && for i in 1 2 3 4 5 6 7 8; do (" + GAMARIUM_CLI +
                         " --home . create same 2>err$i.txt; echo $? >code$i.txt) & done; wait";
    ASSERT_EQ(runCommand(script).exitCode, 0);
    int created = 0;
    for (int i = 1; i <= 8; ++i) {
        const std::string code = files::readFile(home.path() / ("code" + std::to_string(i) + ".txt"));
        const std::string message = files::readFile(home.path() / ("err" + std::to_string(i) + ".txt"));
        if (code == "0\n") {
            ++created;
            continue;
        }
        EXPECT_EQ(code, "1\n");
        EXPECT_TRUE(message.find("уже есть") != std::string::npos || message.find("другой копией") != std::string::npos)
            << message;
    }
    EXPECT_EQ(created, 1);
    EXPECT_EQ(filesIn(home.path() / "base"), (std::vector<std::string>{"same.db", "same_patch.db"}));
}

// Tables on a folder the user may not write (a CD, another user's folder):
// reading works, writing says why not. Run as an unprivileged user, since
// root may write anywhere.
TEST(CliBases, AReadOnlyProgramFolderCanBeReadButNotWritten) {
    if (runCommand("command -v setpriv >/dev/null && id nobody >/dev/null").exitCode != 0)
        GTEST_SKIP() << "needs setpriv and the user nobody";
    TempFolder home;
    ASSERT_EQ(cli(home, "create games").exitCode, 0);
    ASSERT_EQ(cli(home, "import games " + write(home, "in.csv", "Name\r\nkept\r\n")).exitCode, 0);
    const std::string csv = write(home, "more.csv", "Name\r\nmore\r\n");
    ASSERT_EQ(runCommand("chmod -R a-w '" + home.path().string() + "' && chmod a+w '" + home.path().string() +
                         "/stderr.txt'")
                  .exitCode,
              0);
    const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    EXPECT_EQ(cli(home, "list", asNobody).out, "games\n");
    const auto exported = cli(home, "export games", asNobody);
    EXPECT_EQ(exported.exitCode, 0) << errorText(home);
    EXPECT_NE(exported.out.find("kept"), std::string::npos);
    for (const std::string& command :
         std::vector<std::string>{"create other", "create games --replace", "empty games", "import games " + csv}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(cli(home, command, asNobody).exitCode, 1);
        EXPECT_NE(errorText(home).find("только для чтения"), std::string::npos) << errorText(home);
    }
    runCommand("chmod -R u+w '" + home.path().string() + "'");
    EXPECT_NE(cli(home, "export games").out.find("kept"), std::string::npos);
    EXPECT_EQ(filesIn(home.path() / "base"), (std::vector<std::string>{"games.db", "games_patch.db"}));
}

} // namespace
} // namespace gamarium
