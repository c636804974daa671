// Converting an old Paradox base of 30,000 games with memos
// (gamarium-cli convert) against importing the same 30,000 rows from CSV
// into an empty base (gamarium-cli import). Goal: at most twice the import.
#include "core/store/catalogue.h"
#include "core/store/schema.h"
#include "core/support/paradox_bulk_writer.h"
#include "ratio_reporter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

using namespace gamarium;
namespace fs = std::filesystem;

constexpr int kGames = 30000;

const fs::path& benchHome() {
    static const fs::path home = [] {
        fs::path h = fs::temp_directory_path() / ("gamarium-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(h / "base");
        return h;
    }();
    return home;
}

fs::path pristine() {
    return benchHome() / "pristine";
}

// The same games as old tables (pristine/old.db, .mb, old_patch.db) and as CSV (games.csv).
void writeInputs() {
    if (fs::exists(pristine())) return;
    fs::create_directories(pristine());
    const store::TableSchema& schema = store::gameTableSchema();
    std::vector<testing::OldRow> rows;
    std::ofstream csv(benchHome() / "games.csv", std::ios::binary);
    csv << "N,Sid,Name,Region,Publisher,Year,Image1,Text1,Text3\r\n";
    std::mt19937 random(1);
    for (int i = 0; i < kGames; ++i) {
        testing::OldRow row(schema.fields.size(), std::nullopt);
        const std::string name = "Game number " + std::to_string(random());
        const std::string text1(100 + random() % 700, 'd'), text3(random() % 300, 'p');
        row[0] = std::to_string(i % 30000);
        row[1] = "m";
        row[2] = name;
        row[3] = "J";
        row[4] = "Nintendo";
        row[6] = std::to_string(1985 + i % 20);
        row[12] = "game_" + std::to_string(i) + ".png";
        row[17] = text1;
        if (!text3.empty()) row[19] = text3;
        csv << *row[0] << ",m," << name << ",J,Nintendo," << *row[6] << "," << *row[12] << "," << text1 << "," << text3
            << "\r\n";
        rows.push_back(std::move(row));
    }
    testing::writeLargeOldTable(pristine() / "old.db", testing::oldFieldsOf(schema), rows);
    testing::writeLargeOldTable(pristine() / "old_patch.db", testing::oldFieldsOf(store::patchTableSchema()), {});
}

int cli(const std::string& arguments) {
    return std::system((std::string(GAMARIUM_CLI) + " --home '" + benchHome().string() + "' " + arguments +
                        " >/dev/null")
                           .c_str());
}

void BM_ConvertOldBase(benchmark::State& state) {
    writeInputs();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(benchHome() / "base");
        fs::copy(pristine(), benchHome() / "base");
        state.ResumeTiming();
        if (cli("convert old") != 0) state.SkipWithError("conversion failed");
    }
}
BENCHMARK(BM_ConvertOldBase)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ImportCsv(benchmark::State& state) {
    writeInputs();
    for (auto _ : state) {
        state.PauseTiming();
        store::createBase(benchHome(), "csv", true);
        state.ResumeTiming();
        if (cli("import csv '" + (benchHome() / "games.csv").string() + "'") != 0) state.SkipWithError("import failed");
    }
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    const int result = bench::runWithRatios(
        argc, argv, {{"old base conversion / CSV import, 30,000 games", "BM_ConvertOldBase/iterations:3/real_time",
                      "BM_ImportCsv/iterations:3/real_time", 2.0}});
    fs::remove_all(benchHome());
    return result;
}
