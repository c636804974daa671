// Restore points through the command line: each whole-base command is
// taken back whole (both tables as exported, every picture file with its
// content), several in a row and the restore itself; a picture changed
// since is kept; bad points and a full disk change nothing.
#include "core/files/content_hash.h"
#include "core/history/point_action.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/cli_runner.h"
#include "core/support/paradox_writer.h"
#include "core/support/small_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

// What a restore must give back: both tables as exported (or the export's
// refusal), every picture file, and the files in base/ that are not tables
// of the program (an old Paradox base's), each by its content.
struct BaseState {
    std::string games, patches;
    std::map<std::string, std::string> files;
    bool operator==(const BaseState&) const = default;
};

void PrintTo(const BaseState& state, std::ostream* out) {
    *out << "\ngames:\n" << state.games << "patches:\n" << state.patches << "files:\n";
    for (const auto& [path, hash] : state.files) *out << "  " << path << ' ' << hash << '\n';
}

std::map<std::string, std::string> filesUnder(const fs::path& root, const fs::path& folder, bool deep) {
    std::map<std::string, std::string> found;
    std::error_code ec;
    const auto add = [&](const fs::directory_entry& entry) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == ".gamarium-lock" || name.ends_with(".db")) return;
        found[entry.path().lexically_relative(root).generic_string()] = files::hashOfFile(entry.path());
    };
    if (deep)
        for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) add(entry);
    else
        for (const auto& entry : fs::directory_iterator(folder, ec)) add(entry);
    return found;
}

class RestorePoints : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(cli(home_, "create snes").exitCode, 0);
        ASSERT_EQ(cli(home_, "import snes " + write(home_, "g.csv",
                                                    "N,Sid,Name,Region,Image1,Image2\r\n"
                                                    "3,a,Abc,u,a1.png,shared.png\r\n"
                                                    "1,a,Abd,j,shared.png,\r\n"
                                                    "2,b,Bcd,,b1.png,\r\n"))
                      .exitCode,
                  0);
        ASSERT_EQ(cli(home_, "import snes --patches " + write(home_, "p.csv", "N,Patch,Autor\r\n1,Rus,Me\r\n")).exitCode, 0);
        picture("a/a1.png", "one");
        picture("a/shared.png", "shared");
        picture("b/b1.png", "bee");
        picture("a/stray.png", "stray");
        picture("zz/old.png", "old");
        fs::create_directories(home_.path() / "collection" / "Named_Snaps");
        fs::copy_file(fs::path(GAMARIUM_TEST_DATA) / "pictures" / "quad.png",
                      home_.path() / "collection" / "Named_Snaps" / "Bcd.png");
        fs::remove_all(home_.path() / "base" / "history");
    }
    void picture(const std::string& relative, const std::string& content) {
        const fs::path file = home_.path() / "images" / "snes" / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    BaseState state() {
        const auto games = cli(home_, "export snes"), patches = cli(home_, "export snes --patches");
        return {games.exitCode == 0 ? games.out : "refused", patches.exitCode == 0 ? patches.out : "refused",
                [&] {
                    auto files = filesUnder(home_.path(), home_.path() / "images", true);
                    files.merge(filesUnder(home_.path(), home_.path() / "base", false));
                    return files;
                }()};
    }
    // The points as `history` prints them, newest first, each line checked.
    std::vector<std::vector<std::string>> points() {
        const auto listed = cli(home_, "history snes");
        EXPECT_EQ(listed.exitCode, 0) << errorText(home_);
        std::vector<std::vector<std::string>> lines;
        static const std::regex kLine("(\\d+)\t(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)\t([^\t]*)\t(\\d+|-)\t(\\d+|-)");
        std::istringstream in(listed.out);
        for (std::string line; std::getline(in, line);) {
            std::smatch parts;
            EXPECT_TRUE(std::regex_match(line, parts, kLine)) << line;
            lines.push_back({parts[1], parts[3], parts[4], parts[5]});
        }
        return lines;
    }
    std::string newestPoint() {
        const auto all = points();
        return all.empty() ? "" : all.front()[0];
    }
    std::string datFiles() {
        std::string files;
        for (const char* file : {"snes-no-intro.xml", "snes-genre.dat"})
            files += " '" + std::string(GAMARIUM_TEST_DATA) + "/dat/" + file + "'";
        return files;
    }

    TempFolder home_;
};

TEST_F(RestorePoints, EveryCommandIsTakenBackWhole) {
    const std::string collection = " '" + (home_.path() / "collection").string() + "'";
    const std::string list = write(home_, "list.txt", "Game (U) [!];u\r\nTetris;pd\r\n");
    struct Case {
        std::string command;
        std::string what;      // as history shows it
        std::string described; // as the windows show it
    };
    const Case cases[] = {
        {"import snes " + write(home_, "more.csv", "Name,Sid\r\nZed,z\r\n"), "import " + (home_.path() / "more.csv").string(),
         "Импорт CSV: more.csv"},
        {"import snes --patches " + write(home_, "pp.csv", "Patch\r\nEng\r\n"), "import --patches " + (home_.path() / "pp.csv").string(),
         "Импорт CSV в таблицу патчей: pp.csv"},
        {"empty snes", "empty", "Очистка базы"},
        {"create snes --replace", "create --replace", "Замена базы пустой"},
        {"renumber snes", "renumber", "Ренумерация"},
        {"rename snes 1 \"X yz\"", "rename 1 \"X yz\"", "Переименование в «X yz»"},
        {"merge snes " + list, "merge " + (home_.path() / "list.txt").string(), "Слияние списка: list.txt"},
        {"dat snes" + datFiles(), "dat" + datFiles(), "Импорт DAT: snes-no-intro.xml, snes-genre.dat"},
        {"pictures snes" + collection, "pictures" + collection, "Картинки по названиям: collection"},
        {"check orphans snes --move", "check orphans --move", "Перенос лишних картинок в _orphans"},
    };
    std::size_t taken = 0;
    for (Case c : cases) {
        std::erase(c.what, '\'');
        SCOPED_TRACE(c.command);
        const BaseState before = state();
        const auto run = cli(home_, c.command);
        ASSERT_EQ(run.exitCode, 0) << errorText(home_);
        ASSERT_NE(state(), before) << "the command changed nothing";
        const auto listed = points();
        ASSERT_EQ(listed.size(), ++taken);
        EXPECT_EQ(listed.front()[1], c.what);
        EXPECT_EQ(history::describeAction(listed.front()[1]), c.described);

        const auto restored = cli(home_, "restore snes " + listed.front()[0]);
        EXPECT_EQ(restored.exitCode, 0) << errorText(home_) << restored.out;
        EXPECT_EQ(state(), before);
        ++taken; // the restore's own point
    }
}

TEST_F(RestorePoints, ConvertIsTakenBackToTheOldTables) {
    fs::remove(home_.path() / "base" / "snes.db");
    fs::remove(home_.path() / "base" / "snes_patch.db");
    testing::OldRow game(27, std::nullopt), patch(7, std::nullopt);
    game[2] = "Contra";
    game[17] = "memo";
    patch[1] = "Rus";
    const fs::path base = home_.path() / "base";
    testing::writeOldTable(base / "snes.db", testing::oldFieldsOf(store::gameTableSchema()), {game});
    testing::writeOldTable(base / "snes_patch.db", testing::oldFieldsOf(store::patchTableSchema()), {patch});
    std::ofstream(base / "snes.tv") << "view";
    const BaseState before = state();
    ASSERT_EQ(before.games, "refused");

    // Converted, restored, the restore undone, restored again, converted
    // again and restored: each dry run says what its restore does, and the
    // old files always lie together.
    ASSERT_EQ(cli(home_, "convert snes").exitCode, 0) << errorText(home_);
    EXPECT_NE(cli(home_, "export snes").out.find("Contra"), std::string::npos);
    const BaseState converted = state();
    const auto restore = [&](const std::string& id, const BaseState& expected) {
        const auto dry = cli(home_, "restore snes " + id + " --dry-run");
        EXPECT_EQ(dry.exitCode, 0) << errorText(home_) << dry.out;
        const auto restored = cli(home_, "restore snes " + id);
        EXPECT_EQ(restored.exitCode, 0) << errorText(home_) << restored.out;
        EXPECT_EQ(state(), expected);
        const std::regex dated("snes-[0-9_-]+/");
        EXPECT_EQ(std::regex_replace(dry.out.substr(dry.out.find('\n') + 1), dated, "X/"),
                  std::regex_replace(restored.out, dated, "X/"));
        std::error_code ec;
        for (const auto& folder : fs::directory_iterator(base / "paradox", ec))
            EXPECT_EQ(fs::exists(folder.path() / "snes.db"), fs::exists(folder.path() / "snes.mb")) << folder.path();
    };
    restore("1", before);
    restore("2", converted);
    restore("1", before);
    EXPECT_EQ(cli(home_, "convert snes").exitCode, 0) << "the old tables convert again: " << errorText(home_);
    restore(newestPoint(), before);
    restore("1", before);
}

// Two commands undone at once; then the restore undone by its own point.
TEST_F(RestorePoints, TwoCommandsAndTheRestoreItselfAreTakenBack) {
    const BaseState original = state();
    ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0);
    ASSERT_EQ(cli(home_, "check orphans snes --move").exitCode, 0);
    ASSERT_EQ(cli(home_, "pictures snes '" + (home_.path() / "collection").string() + "'").exitCode, 0);
    const BaseState changed = state();
    const auto listed = points();
    ASSERT_EQ(listed.size(), 3u);

    const auto dry = cli(home_, "restore snes " + listed.back()[0] + " --dry-run");
    EXPECT_EQ(dry.exitCode, 0) << errorText(home_);
    EXPECT_NE(dry.out.find("возвращён на место: images/snes/x/a1.png -> images/snes/a/a1.png"), std::string::npos) << dry.out;
    EXPECT_EQ(state(), changed) << "a dry run changes nothing";
    EXPECT_EQ(points().size(), 3u) << "and takes no point";

    const auto restored = cli(home_, "restore snes " + listed.back()[0]);
    EXPECT_EQ(restored.exitCode, 0) << errorText(home_) << restored.out;
    EXPECT_EQ(state(), original);
    const auto after = points();
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after.front()[1], "restore " + listed.back()[0]);
    EXPECT_EQ(history::describeAction(after.front()[1]), "Восстановление точки " + listed.back()[0]);
    EXPECT_EQ(after.front()[2], "3") << "the restore's point holds the base as it was before it";

    EXPECT_EQ(cli(home_, "restore snes " + after.front()[0]).exitCode, 0) << errorText(home_);
    EXPECT_EQ(state(), changed);
}

TEST_F(RestorePoints, APictureChangedSinceIsKeptAndReported) {
    const BaseState original = state();
    ASSERT_EQ(cli(home_, "pictures snes '" + (home_.path() / "collection").string() + "'").exitCode, 0);
    ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0);
    picture("b/Bcd2.png", "drawn over by the user");
    picture("x/a1.png", "touched up");
    picture("b/mine.png", "the user's own");

    const auto restored = cli(home_, "restore snes " + points().back()[0]);
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_NE(restored.out.find("оставлен: файл изменён после команды: images/snes/b/Bcd2.png"), std::string::npos)
        << restored.out;
    EXPECT_NE(restored.out.find("оставлен: файл изменён после команды: images/snes/x/a1.png"), std::string::npos);
    EXPECT_NE(errorText(home_).find("не всё удалось вернуть"), std::string::npos) << errorText(home_);
    BaseState expected = original;
    expected.files.erase("images/snes/a/a1.png");
    for (const char* kept : {"images/snes/b/Bcd2.png", "images/snes/x/a1.png", "images/snes/b/mine.png"})
        expected.files[kept] = files::hashOfFile(home_.path() / kept);
    EXPECT_EQ(state(), expected) << "the tables are back; the user's files stay where they are";
}

TEST_F(RestorePoints, CommandsThatChangeNothingTakeNoPoint) {
    ASSERT_EQ(cli(home_, "dat snes" + datFiles()).exitCode, 0);
    ASSERT_EQ(cli(home_, "renumber snes").exitCode, 0);
    ASSERT_EQ(cli(home_, "check orphans snes --move").exitCode, 0);
    const std::size_t taken = points().size();
    // Orphans again, whose places in _orphans are taken.
    picture("a/stray.png", "stray");
    picture("zz/old.png", "old");
    for (const std::string& command : std::vector<std::string>{"dat snes" + datFiles(), "dat snes" + datFiles() + " --dry-run", "check orphans snes", "check names snes",
          "pictures snes '" + (home_.path() / "collection").string() + "' --dry-run", "restore snes 1 --dry-run",
          "export snes", "find snes Abc", "jump snes 2", "renumber snes", "check orphans snes --move"}) {
        EXPECT_EQ(cli(home_, command).exitCode, 0) << command << ": " << errorText(home_);
        EXPECT_EQ(points().size(), taken) << command;
    }
    // A run that fails while copying its pictures has changed nothing.
    fs::copy_file(fs::path(GAMARIUM_TEST_DATA) / "pictures" / "quad.png",
                  home_.path() / "collection" / "Named_Snaps" / "Abc.png");
    fs::remove_all(home_.path() / "images" / "snes" / "b");
    picture("b", "a file where the game's folder belongs");
    const BaseState before = state();
    EXPECT_EQ(cli(home_, "pictures snes '" + (home_.path() / "collection").string() + "'").exitCode, 1);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(points().size(), taken);

    // Points the keeping rules remove are named, with the reason.
    std::ofstream(home_.path() / "base" / "history" / "settings.ini") << "points=1\ndays=0\n";
    const auto renamed = cli(home_, "rename snes 1 Xyz");
    EXPECT_EQ(renamed.exitCode, 0) << errorText(home_);
    EXPECT_NE(renamed.out.find("Удалены точки восстановления 1, 2: старше 0 дн. и не среди последних 1"),
              std::string::npos) << renamed.out;
    EXPECT_EQ(points().size(), 1u);
}

TEST_F(RestorePoints, BadPointsAreRefusedWithNothingChanged) {
    ASSERT_EQ(cli(home_, "renumber snes").exitCode, 0);
    ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0);
    const fs::path history = home_.path() / "base" / "history" / "snes";
    // Point 1 damaged, point 2 of another table layout.
    {
        const auto size = fs::file_size(history / "1" / "games.db");
        std::fstream damaged(history / "1" / "games.db", std::ios::in | std::ios::out | std::ios::binary);
        damaged.seekp(4096);
        damaged << std::string(size - 4096, '\xAB');
    }
    store::TableSchema other = store::gameTableSchema();
    other.fields.pop_back();
    fs::remove(history / "2" / "games.db");
    store::Table::create(history / "2", "games.db", other);
    const BaseState before = state();
    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"restore snes 9", 1, "Точки восстановления 9 у базы «snes» нет"},
        {"restore snes two", 1, "нет точки восстановления «two»"},
        {"restore snes 1", 1, "Точка восстановления 1 повреждена"},
        {"restore snes 1 --dry-run", 1, "Точка восстановления 1 повреждена"},
        {"restore snes 2", 1, "хранит таблицы другого устройства"},
        {"restore snes", 2, ""},
        {"restore nobase 1", 1, ""},
        {"history nobase", 1, "нет базы «nobase»"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cli(home_, c.arguments).exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(errorText(home_).find(c.message), std::string::npos) << c.arguments << ": " << errorText(home_);
        EXPECT_EQ(points().size(), 2u) << c.arguments;
        EXPECT_EQ(state(), before) << c.arguments;
    }
}

// A live table cut short, written over or emptied is set aside, never
// written over, and the point's table takes its place.
TEST_F(RestorePoints, ADamagedOrForeignLiveTableIsSetAsideAndThePointPutInPlace) {
    const fs::path base = home_.path() / "base";
    struct Case {
        const char* what;
        const char* table;
        std::function<void(const fs::path&)> damage;
    };
    const Case cases[] = {
        {"cut short", "snes.db", [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2 + 100); }},
        {"a page written over it", "snes.db", [](const fs::path& file) { std::ofstream(file) << "<html></html>"; }},
        {"empty", "snes_patch.db", [](const fs::path& file) { std::ofstream{file}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BaseState before = state();
        ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0) << errorText(home_);
        const std::string point = newestPoint();
        c.damage(base / c.table);
        const std::string damaged = files::hashOfFile(base / c.table);

        const auto dry = cli(home_, "restore snes " + point + " --dry-run");
        EXPECT_EQ(dry.exitCode, 0) << errorText(home_);
        const auto restored = cli(home_, "restore snes " + point);
        EXPECT_EQ(restored.exitCode, 0) << errorText(home_) << restored.out;
        EXPECT_EQ(state(), before);
        // Where it went, as the report says.
        const std::smatch aside = [&] {
            std::smatch found;
            static const std::regex kAside("не читался как таблица программы и отложен в (base/damaged/snes-[^/]+)/");
            EXPECT_TRUE(std::regex_search(restored.out, found, kAside)) << restored.out;
            return found;
        }();
        if (aside.empty()) continue;
        EXPECT_EQ(files::hashOfFile(home_.path() / aside[1].str() / c.table), damaged);
        std::string predicted = dry.out.substr(dry.out.find('\n') + 1);
        EXPECT_EQ(std::regex_replace(predicted, std::regex("snes-[0-9_-]+/"), "X/"),
                  std::regex_replace(restored.out, std::regex("snes-[0-9_-]+/"), "X/"));
    }
}

// A later point's journal that cannot be read stops the restore before it
// changes anything; a restore left unfinished lets the base be read, and a
// new restore finishes it.
TEST_F(RestorePoints, AJournalThatCannotBeReadStopsTheRestoreBeforeAnyChange) {
    const BaseState original = state();
    ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0);
    ASSERT_EQ(cli(home_, "check orphans snes --move").exitCode, 0);
    const fs::path history = home_.path() / "base" / "history" / "snes";
    const std::string journal = files::readFile(history / "2" / "journal.txt");
    std::ofstream(history / "2" / "journal.txt", std::ios::app) << "junk\n";
    const BaseState changed = state();
    for (const char* restore : {"restore snes 1 --dry-run", "restore snes 1"}) {
        EXPECT_EQ(cli(home_, restore).exitCode, 1) << restore;
        EXPECT_NE(errorText(home_).find("Журнал картинок"), std::string::npos) << errorText(home_);
        EXPECT_EQ(state(), changed) << restore;
        EXPECT_EQ(points().size(), 2u) << restore;
        EXPECT_FALSE(fs::exists(history / "restoring.txt")) << restore;
    }

    std::ofstream(history / "2" / "journal.txt", std::ios::binary) << journal;
    std::ofstream(history / "restoring.txt") << "target=x\n";
    for (const char* reading : {"export snes", "find snes Xyz", "jump snes 2", "history snes"})
        EXPECT_EQ(cli(home_, reading).exitCode, 0) << reading << ": " << errorText(home_);
    EXPECT_EQ(cli(home_, "renumber snes").exitCode, 1);
    EXPECT_NE(errorText(home_).find("Записка незаконченного восстановления повреждена"), std::string::npos)
        << errorText(home_);
    EXPECT_EQ(cli(home_, "restore snes 1").exitCode, 0) << errorText(home_);
    EXPECT_EQ(state(), original);
    EXPECT_FALSE(fs::exists(history / "restoring.txt"));
}

// A point whose point.txt cannot be read is reported and passed over; the
// next point takes the next number, and a restore across it still takes
// back what its command did to pictures.
TEST_F(RestorePoints, ADamagedPointIsPassedOverAndItsPicturesStillComeBack) {
    const BaseState original = state();
    ASSERT_EQ(cli(home_, "rename snes 1 Xyz").exitCode, 0);
    ASSERT_EQ(cli(home_, "check orphans snes --move").exitCode, 0);
    std::ofstream(home_.path() / "base" / "history" / "snes" / "2" / "point.txt", std::ios::trunc);
    EXPECT_EQ(points(), (std::vector<std::vector<std::string>>{{"1", "rename 1 Xyz", "3", "1"}}));
    EXPECT_NE(errorText(home_).find("Точка восстановления 2 повреждена"), std::string::npos) << errorText(home_);
    EXPECT_EQ(cli(home_, "restore snes 2").exitCode, 1);

    ASSERT_EQ(cli(home_, "pictures snes '" + (home_.path() / "collection").string() + "'").exitCode, 0)
        << errorText(home_);
    EXPECT_EQ(newestPoint(), "3");
    const auto restored = cli(home_, "restore snes 1");
    EXPECT_EQ(restored.exitCode, 0) << errorText(home_) << restored.out;
    EXPECT_EQ(state(), original);
}

TEST_F(RestorePoints, AFullDiskStopsTheCommandBeforeItChangesAnything) {
    // Tables too big for the point to fit.
    std::string games = "Name,Text1\r\n";
    for (int i = 0; i < 200; ++i) games += "Game " + std::to_string(i) + "," + std::string(1000, 'x') + "\r\n";
    ASSERT_EQ(cli(home_, "import snes " + write(home_, "big.csv", games)).exitCode, 0);
    const fs::path history = home_.path() / "base" / "history";
    fs::remove_all(history);
    const testing::SmallDisk disk(history);
    std::cout << "full disk: " << disk.how() << '\n';
    const BaseState before = state();
    const auto run = cli(home_, "empty snes");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(errorText(home_).find("Точка восстановления не создана, база не изменена"), std::string::npos)
        << errorText(home_);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(points().size(), 0u);
    EXPECT_TRUE(fs::is_empty(history / "snes")) << "no half point is left";
}

} // namespace
} // namespace gamarium
