// The whole-base tools on a base of 30,000 games: renumbering, the three
// checks (150,000 picture references, half of them missing), renaming a
// game from the first place to the last, and merging a list of 30,000
// lines into an empty table against inserting the same records through
// the SQLite C API, one transaction each, with the table's journal settings.
#include "core/history/picture_journal.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/tools/checks.h"
#include "core/tools/merge.h"
#include "core/tools/rename.h"
#include "core/tools/renumber.h"
#include "ratio_reporter.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;

fs::path benchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "gamarium-tools-bench";
        fs::remove_all(path);
        fs::create_directories(path / "images");
        return path;
    }();
    return folder;
}

std::string nameOf(int i) {
    return "Game " + std::to_string(100000 + i);
}

// The base of 30,000 games in name order with five pictures each; the
// first two of every game exist on disk, the other three do not.
store::Table& bigBase() {
    static std::unique_ptr<store::Table> games = [] {
        store::Table::create(benchFolder(), "big.db", store::gameTableSchema());
        auto table = std::make_unique<store::Table>(benchFolder(), "big.db");
        table->open();
        for (const char* sid : {"g", "h"}) fs::create_directories(benchFolder() / "images" / sid);
        table->runAsOneTransaction([&] {
            for (int i = 0; i < kGames; ++i) {
                table->append();
                table->fieldByName("N").setAsInteger(i + 1);
                table->fieldByName("Name").setAsString(text::StoredText::fromCp1251(nameOf(i)));
                table->fieldByName("Sid").setAsString("g"_stored);
                for (int p = 1; p <= 5; ++p) {
                    const std::string picture = "g" + std::to_string(i) + "_" + std::to_string(p) + ".png";
                    table->fieldByName("Image" + std::to_string(p)).setAsString(text::StoredText::fromCp1251(picture));
                    if (p <= 2 || (p == 3 && i % 2 == 0)) std::ofstream(benchFolder() / "images" / "g" / picture);
                }
                table->post();
            }
        });
        return table;
    }();
    return *games;
}

const tools::StatusSink kQuiet = [](const text::StoredText&) {};

void BM_Renumber(benchmark::State& state) {
    for (auto _ : state) tools::renumber(bigBase());
}
BENCHMARK(BM_Renumber)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_CheckNames(benchmark::State& state) {
    for (auto _ : state) tools::checkNames(bigBase(), kQuiet);
}
BENCHMARK(BM_CheckNames)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_CheckPictures(benchmark::State& state) {
    for (auto _ : state) tools::checkPictures(bigBase(), benchFolder() / "images", kQuiet);
}
BENCHMARK(BM_CheckPictures)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_CheckPictureNames(benchmark::State& state) {
    for (auto _ : state) tools::checkPictureNames(bigBase(), kQuiet);
}
BENCHMARK(BM_CheckPictureNames)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The first game renamed so that it goes last, and back again.
void BM_RenameFirstToLast(benchmark::State& state) {
    store::Table& games = bigBase();
    tools::renumber(games);
    history::JournalFile journal(benchFolder(), benchFolder() / "journal.txt");
    bool there = true;
    for (auto _ : state) {
        if (there) {
            games.first();
            tools::renameGame(games, benchFolder() / "images", "Game 999999"_stored, journal);
        } else {
            games.last();
            tools::renameGame(games, benchFolder() / "images", text::StoredText::fromCp1251(nameOf(0)), journal);
        }
        there = !there;
    }
}
BENCHMARK(BM_RenameFirstToLast)->Iterations(1)->Repetitions(10)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

std::string listFile() {
    std::string list;
    for (int i = 0; i < kGames; ++i) list += nameOf(i) + " (U) [!];u\r\n";
    return list;
}

void BM_Merge(benchmark::State& state) {
    const std::string list = listFile();
    for (auto _ : state) {
        state.PauseTiming();
        store::Table::create(benchFolder(), "merge.db", store::gameTableSchema());
        store::Table games(benchFolder(), "merge.db");
        games.open();
        state.ResumeTiming();
        tools::mergeList(games, tools::readListFile(list), kQuiet);
    }
}
BENCHMARK(BM_Merge)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The same records inserted through SQLite alone, one transaction each.
void BM_RawSqliteInserts(benchmark::State& state) {
    const auto& fields = store::gameTableSchema().fields;
    std::string columns = "_order";
    std::string values = "?";
    for (const char* name : {"N", "Sid", "Name", "Region", "Ngamers"}) {
        columns += std::string(", \"") + name + "\"";
        values += ", ?";
    }
    for (auto _ : state) {
        state.PauseTiming();
        store::Table::create(benchFolder(), "raw.db", store::gameTableSchema());
        sqlite3* db = nullptr;
        sqlite3_open((benchFolder() / "raw.db").string().c_str(), &db);
        sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr,
                     nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, ("INSERT INTO records(" + columns + ") VALUES(" + values + ")").c_str(), -1, &insert,
                           nullptr);
        state.ResumeTiming();
        for (int i = 0; i < kGames; ++i) {
            const std::string name = nameOf(i);
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            sqlite3_bind_int64(insert, 1, (i + 1) * 1024);
            sqlite3_bind_int(insert, 2, i + 1);
            sqlite3_bind_text(insert, 3, "g", 1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 4, name.c_str(), static_cast<int>(name.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 5, "u", 1, SQLITE_STATIC);
            sqlite3_bind_int(insert, 6, 1);
            sqlite3_step(insert);
            sqlite3_reset(insert);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
        state.PauseTiming();
        sqlite3_finalize(insert);
        sqlite3_close(db);
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(fields.size());
}
BENCHMARK(BM_RawSqliteInserts)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return gamarium::bench::runWithRatios(
        argc, argv,
        {{"merge of 30,000 lines vs raw SQLite inserts, one transaction each", "BM_Merge/iterations:1/repeats:3",
          "BM_RawSqliteInserts/iterations:1/repeats:3", 2.0}});
}
