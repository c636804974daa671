#include "core/error.h"
#include "core/files/files.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace gamarium::store {
namespace {

using gamarium::testing::TempFolder;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

Names sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

void touch(const fs::path& file) {
    std::ofstream(file) << "x";
}

TEST(Catalogue, ListsGameTablesOnly) {
    TempFolder home;
    prepareFolders(home.path());
    const fs::path base = home.path() / "base";
    for (const char* name : {"games.db", "games_patch.db", "old_patchwork.db", "NES.DB", "notes.txt", "x.dbx", "a.db.bak"})
        touch(base / name);
    fs::create_directory(base / "x.db");
    EXPECT_EQ(sorted(listBases(home.path())), (Names{"NES", "games"}));
    EXPECT_TRUE(fs::is_directory(home.path() / "images" / "games"));
    EXPECT_TRUE(fs::is_directory(home.path() / "images" / "NES"));
    EXPECT_FALSE(fs::exists(home.path() / "images" / "x"));
}

TEST(Catalogue, NoBaseFolderGivesNoBases) {
    TempFolder home;
    EXPECT_TRUE(listBases(home.path()).empty());
    touch(home.path() / "base"); // a file where the folder should be
    prepareFolders(home.path());
    EXPECT_TRUE(listBases(home.path()).empty());
}

TEST(Catalogue, CreateMakesBothTablesAndRemovesSideFiles) {
    TempFolder home;
    prepareFolders(home.path());
    const fs::path base = home.path() / "base";
    const Names sideFiles = {"snes.fam", "snes.tv", "snes.px", "snes.val",
                             "snes_patch.fam", "snes_patch.tv", "snes_patch.px", "snes_patch.val"};
    for (const std::string& name : sideFiles) touch(base / name);
    touch(base / "snes.keep");

    createBase(home.path(), "snes", false);
    EXPECT_FALSE(fs::exists(home.path() / "images" / "snes")) << "the picture folder comes last, from the caller";
    makePictureFolder(home.path(), "snes");

    for (const std::string& name : sideFiles) EXPECT_FALSE(fs::exists(base / name)) << name;
    EXPECT_TRUE(fs::exists(base / "snes.keep"));
    EXPECT_TRUE(fs::is_directory(home.path() / "images" / "snes"));
    for (const std::string& table : {gameTableName("snes"), patchTableName("snes")}) {
        Table t(base, table);
        t.open();
        EXPECT_EQ(t.recordCount(), 0);
        // No key on N: two records may share a number, or have none.
        for (int i = 0; i < 2; ++i) {
            t.append();
            t.fieldByName("N").setAsInteger(1);
            t.post();
        }
        t.append();
        t.fieldByName("N").clear();
        t.post();
        EXPECT_EQ(t.recordCount(), 3);
    }
}

TEST(Catalogue, ReplaceAndEmptyKeepPicturesAndStructure) {
    TempFolder home;
    createBase(home.path(), "games", false);
    makePictureFolder(home.path(), "games");
    touch(home.path() / "images" / "games" / "mario.png");
    const fs::path base = home.path() / "base";
    for (const std::string& table : {gameTableName("games"), patchTableName("games")}) {
        Table t(base, table);
        t.open();
        t.append();
        t.fieldByName("N").setAsInteger(1);
        t.post();
    }
    emptyBase(home.path(), "GAMES");
    for (const std::string& table : {gameTableName("games"), patchTableName("games")}) {
        Table t(base, table);
        t.open();
        EXPECT_EQ(t.recordCount(), 0);
        EXPECT_EQ(t.fieldCount(), table == "games.db" ? 27 : 7);
    }
    createBase(home.path(), "games", true);
    EXPECT_TRUE(fs::exists(home.path() / "images" / "games" / "mario.png"));
}

TEST(Catalogue, ReplacingIsAllOrNothing) {
    TempFolder home;
    createBase(home.path(), "games", false);
    Table patches(home.path() / "base", patchTableName("games"));
    patches.open(); // held, as by another copy of the program
    {
        Table games(home.path() / "base", gameTableName("games"));
        games.open();
        games.append();
        games.fieldByName("Name").setAsString("kept"_stored);
        games.post();
    }
    EXPECT_THROW(createBase(home.path(), "games", true), Error);
    patches.close();
    Table games(home.path() / "base", gameTableName("games"));
    games.open();
    EXPECT_EQ(games.recordCount(), 1);
}

TEST(Catalogue, AMissingPatchTableIsStillListed) {
    TempFolder home;
    createBase(home.path(), "games", false);
    fs::remove(home.path() / "base" / "games_patch.db");
    EXPECT_EQ(listBases(home.path()), Names{"games"});
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(Catalogue, BadNamesAreRefused) {
    TempFolder home;
    const std::string cyrillicYa = "\xDF"; // "Я": two bytes in a UTF-8 file name
    const Names bad = {"", ".", "..", "a/b", "a\\b", "../up", "a:b", "a*", "a?", "a\"b", "a<b",
                       "a>b", "a|b", "a\tb", "nes_patch", "x_PATCH", "x_Patch_y", std::string(260, 'n'),
                       repeated(cyrillicYa, 118), "CON", "nul", "Com1", "lpt9", "aux.old", "a.", "a ", "/abs"};
    for (const std::string& name : bad) {
        EXPECT_THROW(createBase(home.path(), name, false), Error) << name;
        EXPECT_THROW(emptyBase(home.path(), name), Error) << name;
        EXPECT_THROW(gameTableName(name), Error) << name;
    }
    EXPECT_TRUE(listBases(home.path()).empty());
    EXPECT_FALSE(fs::exists(home.path() / "up.db"));
    std::error_code ec;
    EXPECT_TRUE(fs::is_empty(home.path() / "base", ec) || !fs::exists(home.path() / "base")) << "nothing half made";
    for (const std::string& good : {std::string("\xC8\xE3\xF0\xFB 2"), std::string("-x"), std::string("console"),
                                    repeated(cyrillicYa, 100)}) {
        EXPECT_NO_THROW(createBase(home.path(), good, false)) << good;
    }
    EXPECT_EQ(listBases(home.path()).size(), 4u);
}

// Emptying holds both tables before it touches either: a patch table that
// is damaged, foreign or held elsewhere leaves the game table as it was.
TEST(Catalogue, EmptyingIsAllOrNothing) {
    TempFolder home;
    createBase(home.path(), "games", false);
    const fs::path base = home.path() / "base";
    {
        Table games(base, gameTableName("games"));
        games.open();
        games.append();
        games.fieldByName("Name").setAsString("kept"_stored);
        games.post();
    }
    const fs::path patches = base / "games_patch.db";
    const std::string table = files::readFile(patches);
    const auto gameCount = [&] {
        Table games(base, gameTableName("games"));
        games.open();
        return games.recordCount();
    };
    {
        Table held(base, patchTableName("games"));
        held.open();
        EXPECT_THROW(emptyBase(home.path(), "games"), Error);
    }
    EXPECT_EQ(gameCount(), 1);
    for (const std::string& bytes : {std::string("not a table"), table.substr(0, 100), std::string()}) {
        if (bytes.empty())
            fs::remove(patches);
        else
            std::ofstream(patches, std::ios::binary) << bytes;
        EXPECT_THROW(emptyBase(home.path(), "games"), Error);
        EXPECT_EQ(gameCount(), 1);
    }
}

// A base with either table present exists: a lone patch table is not
// replaced without a question.
TEST(Catalogue, ALonePatchTableIsAnExistingBase) {
    TempFolder home;
    createBase(home.path(), "o", false);
    fs::remove(home.path() / "base" / "o.db");
    EXPECT_TRUE(baseExists(home.path(), "o"));
    EXPECT_TRUE(baseExists(home.path(), "O"));
    EXPECT_FALSE(baseExists(home.path(), "p"));
}

// Replacing a base typed in another letter case keeps the file's own name.
TEST(Catalogue, ReplacingKeepsTheStoredNameOfTheBase) {
    TempFolder home;
    createBase(home.path(), "\xC8\xE3\xF0\xE0", false);          // "Игра"
    EXPECT_THROW(createBase(home.path(), "\xE8\xE3\xF0\xE0", false), Error) << "exists";
    EXPECT_EQ(createBase(home.path(), "\xE8\xE3\xF0\xE0", true), "\xC8\xE3\xF0\xE0"); // "игра" replaces "Игра"
    EXPECT_EQ(listBases(home.path()), Names{"\xC8\xE3\xF0\xE0"});
    EXPECT_FALSE(fs::exists(home.path() / "base" / files::toPath(text::StoredText::fromCp1251("\xE8\xE3\xF0\xE0_patch.db"))));
}

TEST(Catalogue, BaseListFileHoldsEveryName) {
    TempFolder home;
    Names names;
    for (int i = 0; i < 300; ++i) names.push_back("base" + std::to_string(i));
    names.push_back("base0"); // a name added twice stands twice
    writeBasesList(home.path(), names);
    const std::string written = files::readFile(home.path() / "bases.ini");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 301);
    EXPECT_EQ(written.substr(0, 14), "base0\r\nbase1\r\n");
    EXPECT_EQ(written.substr(written.size() - 7), "base0\r\n");
}

// GAMARIUM_HOME wins; a portable folder that may be written is its own
// program folder; an installed program keeps its data in the user's data
// folder, made on first start.
TEST(Catalogue, ProgramFolderFollowsTheEnvironmentAndTheInstallation) {
    gamarium::testing::TempFolder user;
    const fs::path installed = user.path() / "usr" / "bin"; // missing, so not writable
    const struct {
        const char* gamariumHome;
        const char* xdgDataHome;
        fs::path executableFolder, expected;
    } cases[] = {
        {"/srv/gamarium", nullptr, installed, "/srv/gamarium"},
        {nullptr, nullptr, user.path(), user.path()},
        {nullptr, nullptr, installed, user.path() / ".local" / "share" / "Gamarium"},
        {nullptr, "relative", installed, user.path() / ".local" / "share" / "Gamarium"},
    };
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", user.path().c_str(), 1);
    for (const auto& c : cases) {
        c.gamariumHome ? ::setenv("GAMARIUM_HOME", c.gamariumHome, 1) : ::unsetenv("GAMARIUM_HOME");
        c.xdgDataHome ? ::setenv("XDG_DATA_HOME", c.xdgDataHome, 1) : ::unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(programFolder(c.executableFolder), c.expected) << c.executableFolder;
        if (!c.gamariumHome) {
            EXPECT_TRUE(fs::is_directory(c.expected)) << c.expected;
        }
    }
    ::setenv("XDG_DATA_HOME", (user.path() / "data").c_str(), 1);
    EXPECT_EQ(programFolder(installed), user.path() / "data" / "Gamarium");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("GAMARIUM_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
} // namespace gamarium::store
