// The table store on game tables of 1,000 and 30,000 records: opening, moves,
// edit+post against the same UPDATE transactions through the raw SQLite API,
// and inserts and deletes at random places.
#include "core/store/schema.h"
#include "core/store/table.h"
#include "ratio_reporter.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <random>

namespace {

using namespace gamarium;
namespace fs = std::filesystem;

const fs::path& benchFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("gamarium-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

// A game table of `count` records, made once per size.
std::string tableOf(int count) {
    static std::map<int, std::string> made;
    const std::string name = "games" + std::to_string(count) + ".db";
    if (made.count(count)) return name;
    store::Table::create(benchFolder(), name, store::gameTableSchema());
    store::Table table(benchFolder(), name);
    table.open();
    std::mt19937 random(1);
    table.runAsOneTransaction([&] {
        for (int i = 1; i <= count; ++i) {
            table.append();
            table.fieldByName("N").setAsInteger(i % 30000);
            table.fieldByName("Sid").setAsString("m"_stored);
            table.fieldByName("Name").setAsString(text::StoredText::fromCp1251("Game number " + std::to_string(random())));
            table.fieldByName("Region").setAsString("J"_stored);
            table.fieldByName("Publisher").setAsString("Nintendo"_stored);
            table.fieldByName("Year").setAsInteger(1985 + i % 20);
            table.fieldByName("Image1").setAsString(text::StoredText::fromCp1251("game_" + std::to_string(i) + ".png"));
            table.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(300, 'd')));
            table.post();
        }
    });
    made[count] = name;
    return name;
}

void BM_OpenAndReadFirst(benchmark::State& state) {
    const std::string name = tableOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        store::Table table(benchFolder(), name);
        table.open();
        benchmark::DoNotOptimize(table.fieldByName("Name").asString().bytes());
    }
}
BENCHMARK(BM_OpenAndReadFirst)->Arg(30000)->Unit(benchmark::kMillisecond);

// One Next move; the cursor starts again at the first record at the end.
void BM_Next(benchmark::State& state) {
    store::Table table(benchFolder(), tableOf(static_cast<int>(state.range(0))));
    table.open();
    for (auto _ : state) {
        table.next();
        if (table.eof()) table.first();
        benchmark::DoNotOptimize(table.fieldByName("Name").asString().bytes());
    }
}
BENCHMARK(BM_Next)->Arg(1000)->Arg(30000)->Unit(benchmark::kMicrosecond);

// Edit and post one record, walking through the table.
void BM_EditPost(benchmark::State& state) {
    store::Table table(benchFolder(), tableOf(30000));
    table.open();
    int year = 0;
    for (auto _ : state) {
        table.edit();
        table.fieldByName("Year").setAsInteger(1980 + (++year % 30));
        table.post();
        table.next();
        if (table.eof()) table.first();
    }
}
BENCHMARK(BM_EditPost)->Unit(benchmark::kMicrosecond);

// The same single-row UPDATE transactions through the SQLite C API, with the
// table's journal settings: every column written, one row at a time.
void BM_RawSqliteUpdate(benchmark::State& state) {
    const std::string file = (benchFolder() / tableOf(30000)).string();
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr,
                 nullptr, nullptr);
    std::string sql = "UPDATE records SET ";
    const auto& fields = store::gameTableSchema().fields;
    for (std::size_t i = 0; i < fields.size(); ++i) sql += (i ? ", \"" : "\"") + fields[i].name + "\" = ?";
    sql += " WHERE _id = ?";
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* update = nullptr;
    std::string columns;
    for (std::size_t i = 0; i < fields.size(); ++i) columns += (i ? ", \"" : "\"") + fields[i].name + "\"";
    sqlite3_prepare_v2(db, ("SELECT " + columns + " FROM records WHERE _id = ?").c_str(), -1, &read, nullptr);
    sqlite3_prepare_v2(db, sql.c_str(), -1, &update, nullptr);
    std::int64_t id = 0;
    int year = 0;
    for (auto _ : state) {
        id = id % 30000 + 1;
        sqlite3_bind_int64(read, 1, id);
        sqlite3_step(read);
        for (int c = 0; c < static_cast<int>(fields.size()); ++c)
            sqlite3_bind_value(update, c + 1, sqlite3_column_value(read, c));
        sqlite3_bind_int(update, 7, 1980 + (++year % 30));
        sqlite3_bind_int64(update, static_cast<int>(fields.size()) + 1, id);
        sqlite3_step(update);
        sqlite3_reset(update);
        sqlite3_reset(read);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(update);
    sqlite3_close(db);
}
BENCHMARK(BM_RawSqliteUpdate)->Unit(benchmark::kMicrosecond);

// An insert before a random record, posted, then a delete of a random record.
void BM_InsertAndDelete(benchmark::State& state) {
    store::Table table(benchFolder(), tableOf(static_cast<int>(state.range(0))));
    table.open();
    std::mt19937 random(2);
    for (auto _ : state) {
        table.first();
        table.moveBy(static_cast<int>(random() % static_cast<unsigned>(table.recordCount())));
        table.insert();
        table.fieldByName("Name").setAsString("Inserted"_stored);
        table.post();
        table.first();
        table.moveBy(static_cast<int>(random() % static_cast<unsigned>(table.recordCount())));
        table.remove();
    }
}
BENCHMARK(BM_InsertAndDelete)->Arg(1000)->Arg(30000)->Iterations(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const int result = gamarium::bench::runWithRatios(
        argc, argv,
        {{"Next move, 30,000 vs 1,000 records", "BM_Next/30000", "BM_Next/1000", 1.5},
         {"Edit+post vs raw SQLite UPDATE transaction", "BM_EditPost", "BM_RawSqliteUpdate", 1.5},
         {"Insert+delete, 30,000 vs 1,000 records", "BM_InsertAndDelete/30000/iterations:1000",
          "BM_InsertAndDelete/1000/iterations:1000", 2.0}});
    std::filesystem::remove_all(benchFolder());
    return result;
}
