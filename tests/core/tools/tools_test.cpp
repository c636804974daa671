#include "core/error.h"
#include "core/history/picture_journal.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/failing_post.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"
#include "core/tools/checks.h"
#include "core/tools/light.h"
#include "core/tools/merge.h"
#include "core/tools/rename.h"
#include "core/tools/renumber.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string cp(const char* utf8) {
    return text::fromUtf8(utf8).bytes();
}

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "g.db", store::gameTableSchema());
        games_.open();
        root_ = folder_.path() / "images" / "games";
        fs::create_directories(root_);
    }
    struct Game {
        std::string name, sid, image1, image2, drname;
        int n = 0;
    };
    void fill(const std::vector<Game>& games) {
        for (const Game& g : games) {
            games_.append();
            if (g.n) games_.fieldByName("N").setAsInteger(g.n);
            games_.fieldByName("Name").setAsString(text::StoredText::fromCp1251(g.name));
            games_.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(g.sid));
            games_.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(g.image1));
            games_.fieldByName("Image2").setAsString(text::StoredText::fromCp1251(g.image2));
            games_.fieldByName("Drname").setAsString(text::StoredText::fromCp1251(g.drname));
            games_.post();
        }
        games_.first();
    }
    void touch(const std::string& sid, const std::string& name, const std::string& content = "x") {
        fs::create_directories(root_ / sid);
        std::ofstream(root_ / sid / name, std::ios::binary) << content;
    }
    Lines column(const char* field) {
        Lines values;
        for (games_.first(); !games_.isEmpty() && !games_.eof(); games_.next())
            values.push_back(games_.fieldByName(field).asString().bytes());
        return values;
    }
    Lines run(const std::function<void(const StatusSink&)>& tool) {
        Lines lines;
        tool([&](const text::StoredText& line) { lines.push_back(line.bytes()); });
        return lines;
    }

    gamarium::testing::TempFolder folder_;
    history::JournalFile journal_{folder_.path(), folder_.path() / "journal.txt"};
    store::Table games_{folder_.path(), "g.db"};
    fs::path root_;
};

TEST(MergeRules, CleanNamesAndListLines) {
    const std::pair<const char*, const char*> names[] = {
        {"Game (U) [!]", "Game"},         {"Game (U) (M3) [!]", "Game"},          {"Game_(J)", "Game"},
        {"Game (U) Extra", "Game Extra"}, {"Game + st bios (st 1.0)", "Game"},    {"Some Hack (Hack) [h1]", "Some Hack"},
        {"Open (tag", "Opentag"},         {"A [x] [y] (z) [w]", "A"},             {"", ""},
    };
    for (const auto& [part, name] : names) EXPECT_EQ(cleanname(part), name) << part;
    EXPECT_EQ(cuttag("ab", "["), "ab");
    // Tags are cut in one pass: a line of a million brackets once took hours.
    EXPECT_EQ(cleanname(std::string(1000000, '(') + "x [" + std::string(1000000, '[')), "x");

    struct Case {
        const char* line;
        const char* name;
        const char* sid;
        const char* region;
    };
    const Case cases[] = {
        {"Game (U) [!];u", "Game", "g", "u"},           {"Some Hack (Hack) [h1];hak", "Some Hack", "hak", "jue"},
        {"Tetris (PD);pd", "Tetris", "pd", "jue"},       {"Tetris;pd", "Tetris", "t", "jue"},
        {"Star Wars 32X (U);u", "Star Wars 32X", "32x", "u"}, {"Doom (32X) (PD);u", "Doom", "pd", "u"},
        {"1942 (J);j", "1942", "1", "j"},                {"Something;1", "Something", "num", "1"},
        {"Game;", "Game", "g", "jue"},                   {"Game + st bios (st 1.0);j", "Game", "g", "j"},
        {"\xC8\xE3\xF0\xE0;r;x", "\xC8\xE3\xF0\xE0", "\xE8", "r;x"},
    };
    for (const Case& c : cases) {
        const auto game = parseListLine(c.line);
        ASSERT_TRUE(game) << c.line;
        EXPECT_EQ(game->name.bytes(), c.name) << c.line;
        EXPECT_EQ(game->sid.bytes(), c.sid) << c.line;
        EXPECT_EQ(game->region.bytes(), c.region) << c.line;
    }
    // The last three would give a Sid that names no picture folder.
    for (const char* bad : {"no semicolon", "(only a tag);u", "[x];u", "/x;u", ".hack;u", "\x01x;u"})
        EXPECT_FALSE(parseListLine(bad)) << bad;
    EXPECT_EQ(listLines("a\r\nb\rc\n\nd"), (Lines{"a", "b", "c", "", "d"}));
}

TEST(MergeRules, ListFilesAreReadInTheirEncoding) {
    using enum ListFile::Encoding;
    struct Case {
        std::string bytes;
        ListFile::Encoding encoding;
        std::string text; // Windows-1251; empty when refused
        const char* said; // in the refusal
    };
    const Case cases[] = {
        {"Game;u\r\n", Cp1251, "Game;u\r\n", ""},
        {"\xD2\xE5\xF2\xF0\xE8\xF1;r", Cp1251, "\xD2\xE5\xF2\xF0\xE8\xF1;r", ""},
        {"Тетрис;r", Utf8, "\xD2\xE5\xF2\xF0\xE8\xF1;r", ""},
        {"\xEF\xBB\xBFGame;u", Utf8, "Game;u", ""},
        {"\xEF\xBB\xBF", Utf8, "", ""},
        {"\xEF\xBB\xBFT\xE5st;u", Utf8, "", "UTF-8"},      // marked UTF-8 that is not
        {"Pokémon;u", Utf8, "", "«é» (U+00E9)"},
        {"A;u\r\nB\x98;u", Cp1251, "", "0x98"},              // no character in Windows-1251
        {std::string("A;u\r\nB;u\rC\0;u", 14), Cp1251, "", "Строка 3 "},
        {std::string("\0A;u", 4), Cp1251, "", "Строка 1 "},
        {std::string("\xFF\xFEG\0;\0", 6), Cp1251, "", "Строка 1 "}, // UTF-16
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        if (*c.said) {
            try {
                readListFile(c.bytes);
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
            }
        } else {
            const ListFile list = readListFile(c.bytes);
            EXPECT_EQ(list.text.bytes(), c.text);
            EXPECT_EQ(list.encoding, c.encoding);
        }
    }
}

TEST_F(ToolsTest, MergeAppendsEveryLineAndSavesTheLast) {
    fill({{"Zelda", "z", "", "", "", 7}});
    const std::string file = "Game (U) [!];u\r\n\r\nbroken line\rTetris (PD);pd\n(x);u\n";
    const Lines report = run([&](const StatusSink& sink) { EXPECT_EQ(mergeList(games_, readListFile(file), sink), 2); });
    EXPECT_EQ(report, (Lines{cp("Список прочитан в кодировке Windows-1251."), cp("Пропущена строка 3: broken line"),
                             cp("Пропущена строка 5: (x);u")}));
    EXPECT_EQ(games_.state(), store::TableState::Browse) << "the last record is saved";
    EXPECT_EQ(column("N"), (Lines{"7", "8", "9"}));
    EXPECT_EQ(column("Name"), (Lines{"Zelda", "Game", "Tetris"}));
    EXPECT_EQ(column("Ngamers"), (Lines{"", "1", "1"}));
    mergeList(games_, readListFile(file), [](const text::StoredText&) {});
    EXPECT_EQ(column("N"), (Lines{"7", "8", "9", "10", "11"})) << "the same file twice adds everything again";

    for (const char* bad : {"", "\r\nGame;u", "no semicolon\r\nGame;u"}) {
        try {
            mergeList(games_, readListFile(bad), [](const text::StoredText&) {});
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "файл не тот. Оставь эту затею.");
        }
    }
    EXPECT_EQ(games_.recordCount(), 5) << "a refused file adds nothing";
}

TEST_F(ToolsTest, MergeStopsAtATableErrorKeepingWhatItSaved) {
    fill({{"Last", "l", "", "", "", 32766}});
    try {
        mergeList(games_, readListFile("A;u\r\nB;u\r\nC;u\r\n"), [](const text::StoredText&) {});
        ADD_FAILURE() << "no error past 32767";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Строка 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(column("Name"), (Lines{"Last", "A"}));
}

// The record the user is editing is saved before the list is added.
TEST_F(ToolsTest, MergeSavesAnEditFirst) {
    fill({{"Zelda", "z", "", "", "", 1}});
    games_.edit();
    games_.fieldByName("Name").setAsString("Zelda II"_stored);
    mergeList(games_, readListFile("A;u\r\n"), [](const text::StoredText&) {});
    EXPECT_EQ(games_.state(), store::TableState::Browse);
    EXPECT_EQ(column("Name"), (Lines{"Zelda II", "A"}));
}

TEST_F(ToolsTest, RenumberAndChecks) {
    fill({{"Alpha", "a", "alpha.png", "Beta.png", "", 5}, {"beta", "b", "", "", "", 5},
          {"Gamma", "g", "gone.png", "", "", 9}, {"Beta", "b", "", "", "", 2},
          {"alpha", "a", "", "", "", 0}, {"\xE0\xE1\xE2", "\xE0", "", "", "", 0}, {"\xC0\xC1", "\xE0", "", "", "", 0},
          {"", "x", "any.png", "", "", 0}});
    touch("a", "alpha.png");
    games_.moveToPosition(3);
    renumber(games_);
    EXPECT_EQ(column("N"), (Lines{"1", "2", "3", "4", "5", "6", "7", "8"}));
    games_.moveToPosition(3);
    renumber(games_);
    EXPECT_EQ(games_.recordNumber(), 3) << "the editor stays where it stood";

    EXPECT_EQ(run([&](const StatusSink& s) { checkNames(games_, s); }),
              (Lines{"Gamma\rBeta", "Beta\ralpha", "\xE0\xE1\xE2\r\xC0\xC1", "\xC0\xC1\r", cp("Проверка закончена!")}));
    EXPECT_EQ(games_.recordNumber(), 8) << "ends on the last record";
    EXPECT_EQ(run([&](const StatusSink& s) { checkPictures(games_, root_, s); }),
              (Lines{"Beta.png 1", "gone.png 3", "any.png 8", cp("Проверка закончена!")}));
    EXPECT_EQ(run([&](const StatusSink& s) { checkPictureNames(games_, s); }),
              (Lines{"Beta.png 1", "any.png 8", cp("Проверка закончена!")}));

    store::Table::create(folder_.path(), "e.db", store::gameTableSchema());
    store::Table empty(folder_.path(), "e.db");
    empty.open();
    renumber(empty);
    EXPECT_EQ(run([&](const StatusSink& s) { checkNames(empty, s); }), (Lines{cp("Проверка закончена!")}));
}

TEST_F(ToolsTest, RenameMovesTheRecordAndItsPictures) {
    struct Case {
        Game before;
        const char* newName;
        Game after;
        bool moved;
    };
    const Case cases[] = {
        {{"Abc", "a", "p1.png", "p2.png", ""}, "Bcd", {"Bcd", "b", "", "", "Abc"}, true},
        {{"Abc", "a", "p1.png", "", "X"}, "Abd", {"Abd", "a", "", "", "X; Abc"}, false},
        {{"Abc", "hak", "p1.png", "", ""}, "Bcd", {"Bcd", "b", "", "", "Abc"}, true},
        {{"Abc", "pd", "p1.png", "", ""}, "Bcd", {"Bcd", "pd", "", "", "Abc"}, false},
        {{"Abc", "a", "p1.png", "", ""}, "1942", {"1942", "num", "", "", "Abc"}, true},
        {{"Abc", "a", "p1.png", "", ""}, "Abc", {"Abc", "a", "", "", "Abc"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newName);
        store::Table::create(folder_.path(), "r.db", store::gameTableSchema());
        store::Table games(folder_.path(), "r.db");
        games.open();
        for (const char* name : {"Aaa", "Zzz"}) {
            games.append();
            games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(name));
            games.post();
        }
        games.moveToPosition(2);
        games.insert();
        games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(c.before.name));
        games.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(c.before.sid));
        games.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(c.before.image1));
        games.fieldByName("Image2").setAsString(text::StoredText::fromCp1251(c.before.image2));
        games.fieldByName("Drname").setAsString(text::StoredText::fromCp1251(c.before.drname));
        games.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(3000, 'm')));
        games.post();
        renumber(games); // the name search takes N for positions
        fs::remove_all(root_);
        touch(c.before.sid, "p1.png", "one");
        touch(c.before.sid, "p2.png", "two");

        const RenameResult result = renameGame(games, root_, text::StoredText::fromCp1251(c.newName), journal_);
        EXPECT_TRUE(result.renamed);
        EXPECT_EQ(games.recordCount(), 3);
        EXPECT_EQ(games.fieldByName("Name").asString().bytes(), c.after.name);
        EXPECT_EQ(games.fieldByName("Sid").asString().bytes(), c.after.sid);
        EXPECT_EQ(games.fieldByName("Drname").asString().bytes(), c.after.drname);
        EXPECT_EQ(games.fieldByName("Text1").asString().bytes().size(), 3000u);
        EXPECT_EQ(fs::exists(root_ / c.after.sid / "p1.png"), true);
        EXPECT_EQ(fs::exists(root_ / c.before.sid / "p1.png"), !c.moved);
        EXPECT_EQ(result.pictures.empty(), !c.moved);
        Lines names;
        for (games.first(); !games.eof(); games.next()) names.push_back(games.fieldByName("Name").asString().bytes());
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << names[0] << names[1] << names[2];
    }
}

TEST_F(ToolsTest, RenameReportsPicturesItCouldNotMove) {
    fill({{"Abc", "a", "here.png", "gone.png", "", 1}, {"Zed", "z", "", "", "", 2}});
    touch("a", "here.png", "old");
    touch("b", "here.png", "already there");
    const RenameResult result = renameGame(games_, root_, "Bcd"_stored, journal_);
    ASSERT_EQ(result.pictures.size(), 2u);
    EXPECT_FALSE(result.pictures[0].problem.empty()) << "no file is overwritten";
    EXPECT_FALSE(result.pictures[1].problem.empty()) << "a missing file is not reported as moved";
    EXPECT_EQ(files::readFile(root_ / "b" / "here.png"), "already there");
    const std::string message = movedPicturesMessage(result).bytes();
    EXPECT_EQ(message.substr(0, message.find(cp("в папку"))), cp("Внимание!!\rЯ переместил файлы\r"));
    EXPECT_NE(message.find(cp("Не удалось переместить:\rhere.png: ")), std::string::npos);

    // A name that belongs just before the last record goes before it, not after.
    games_.first();
    renameGame(games_, root_, "Yyy"_stored, journal_);
    EXPECT_EQ(column("Name"), (Lines{"Yyy", "Zed"}));
    // Nothing to rename.
    EXPECT_FALSE(renameGame(games_, root_, ""_stored, journal_).renamed);
}

// A rename that fails half way (here the table refuses its second save)
// leaves the table as it was: no blank record, no game twice.
TEST_F(ToolsTest, RenameChangesTheTableAllOrNothing) {
    fill({{"Abc", "a", "", "", "", 1}, {"Zed", "z", "", "", "", 2}});
    {
        const testing::FailingPost failing(games_, 2, "disk I/O error");
        EXPECT_THROW(renameGame(games_, root_, "Bcd"_stored, journal_), Error);
    }
    EXPECT_EQ(column("Name"), (Lines{"Abc", "Zed"}));
}

// The old Sid names a folder only when there are pictures to move out of
// it: a game without pictures and without Sid can still be renamed.
TEST_F(ToolsTest, RenameLooksAtTheOldSidOnlyForPicturesToMove) {
    fill({{"Abc", "", "", "", "", 1}, {"Bcd", "", "b.png", "", "", 2}, {"Zed", "z", "", "", "", 3}});
    EXPECT_TRUE(renameGame(games_, root_, "Aaa"_stored, journal_).renamed);
    games_.moveToPosition(2);
    EXPECT_THROW(renameGame(games_, root_, "Ccc"_stored, journal_), Error);
    EXPECT_EQ(column("Name"), (Lines{"Aaa", "Bcd", "Zed"}));
    EXPECT_EQ(column("Sid"), (Lines{"a", "", "z"}));
}

TEST_F(ToolsTest, LightSetCopiesFirstPicturesWithTheirDates) {
    fill({{"Mario", "m", "mario1.gif", "", ""}, {"Metroid", "m", "metroid.gif", "", ""}, {"Empty", "e", "", "", ""},
          {"Gone", "g", "gone.gif", "", ""}});
    touch("m", "mario1.gif", "mario bytes");
    touch("m", "metroid.gif", "metroid bytes");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(root_ / "m" / "mario1.gif", old);
    for (int time = 0; time < 2; ++time) {
        const Lines report = run([&](const StatusSink& s) { makeLightSet(games_, root_, s); });
        EXPECT_EQ(report, (Lines{cp("Не могу найти gone.gif"), cp("Создание списка Light завершено!")}));
    }
    EXPECT_EQ(files::readFile(root_ / "light" / "m" / "mario1.gif"), "mario bytes");
    EXPECT_EQ(files::readFile(root_ / "light" / "m" / "metroid.gif"), "metroid bytes");
    EXPECT_EQ(fs::last_write_time(root_ / "light" / "m" / "mario1.gif"), old);
    EXPECT_TRUE(fs::is_directory(root_ / "light" / "e"));
    fs::remove_all(root_ / "light" / "m");
    fs::create_directories(root_ / "light" / "m" / "mario1.gif"); // a folder where the copy should go
    EXPECT_THROW(makeLightSet(games_, root_, [](const text::StoredText&) {}), Error);
}

// A killed run leaves the copy it was writing as a temporary file; the next
// run takes it away, and only it.
TEST_F(ToolsTest, LightSetRemovesTheTemporariesOfAKilledRun) {
    fill({{"Mario", "m", "mario1.gif", "", ""}});
    touch("m", "mario1.gif", "mario bytes");
    fs::create_directories(root_ / "light" / "m");
    const fs::path light = root_ / "light" / "m";
    std::ofstream(light / "mario1.gif.gamarium-tmp-0a1b2c") << "half";
    std::ofstream(light / "notes.txt.tmp123456") << "the user's";
    makeLightSet(games_, root_, [](const text::StoredText&) {});
    EXPECT_FALSE(fs::exists(light / "mario1.gif.gamarium-tmp-0a1b2c"));
    EXPECT_TRUE(fs::exists(light / "notes.txt.tmp123456"));
    EXPECT_EQ(files::readFile(light / "mario1.gif"), "mario bytes");
}

} // namespace
} // namespace gamarium::tools
