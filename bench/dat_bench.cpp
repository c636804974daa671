// Importing a DAT of 30,000 games with its five metadata files into an empty
// table, against the list merge of the same 30,000 names (goal: at most
// twice its time), and a second import of the same files, which changes
// nothing, against the first (goal: at most half). Both imports include
// reading the files. Peak memory on a 60 MB DAT: bench/dat_memory.sh.
#include "core/dat/dat_files.h"
#include "core/dat/dat_import.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/tools/merge.h"
#include "ratio_reporter.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;

const char* const kRegions[] = {"USA", "Japan", "Europe", "USA, Europe", "World"};
const char* const kGenres[] = {"Action", "Sports", "Role-playing (RPG)", "Racing", "Puzzle, Fantasy", "Platform"};

std::string nameOf(int i) {
    return "Game " + std::to_string(100000 + (i * 7919) % kGames); // not in name order in the file
}

std::string crcOf(int i) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(i) * 2654435761u);
    return crc;
}

fs::path benchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "gamarium-dat-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        std::ofstream dat(path / "games.dat", std::ios::binary);
        dat << "clrmamepro (\n\tname \"Bench\"\n)\n\n";
        std::ofstream meta[5] = {std::ofstream(path / "developer.dat"), std::ofstream(path / "publisher.dat"),
                                 std::ofstream(path / "releaseyear.dat"), std::ofstream(path / "genre.dat"),
                                 std::ofstream(path / "maxusers.dat")};
        for (int i = 0; i < kGames; ++i) {
            const std::string name = nameOf(i) + " (" + kRegions[i % 5] + ")";
            dat << "game (\n\tname \"" << name << "\"\n\tregion \"" << kRegions[i % 5] << "\"\n\trom ( name \"" << name
                << ".sfc\" size " << 524288 * (1 + i % 8) << " crc " << crcOf(i)
                << " md5 3369347F7663B133CE445C15200A5AFA sha1 005CCD8362DC41491F89F31FC9326A6688300E0C )\n)\n";
            const std::string values[5] = {"\tdeveloper \"Studio " + std::to_string(i % 300) + "\"",
                                           "\tpublisher \"Publisher " + std::to_string(i % 200) + "\"",
                                           "\treleaseyear \"" + std::to_string(1990 + i % 10) + "\"",
                                           std::string("\tgenre \"") + kGenres[i % 6] + "\"",
                                           "\tusers " + std::to_string(1 + i % 4)};
            for (int f = 0; f < 5; ++f)
                meta[f] << "game (\n\tcomment \"" << name << "\"\n" << values[f] << "\n\trom ( crc " << crcOf(i)
                        << " )\n)\n";
        }
        return path;
    }();
    return folder;
}

std::vector<fs::path> datFiles() {
    std::vector<fs::path> files = {benchFolder() / "games.dat"};
    for (const char* meta : {"developer.dat", "publisher.dat", "releaseyear.dat", "genre.dat", "maxusers.dat"})
        files.push_back(benchFolder() / meta);
    return files;
}

const tools::StatusSink kQuiet = [](const text::StoredText&) {};

// A new empty game table in the bench folder, open.
std::unique_ptr<store::Table> emptyTable(const std::string& name) {
    store::Table::create(benchFolder(), name, store::gameTableSchema());
    auto games = std::make_unique<store::Table>(benchFolder(), name);
    games->open();
    return games;
}

dat::DatImportResult importFiles(store::Table& games) {
    return dat::importDat(games, dat::readDatFiles(datFiles()), [](const std::string&) {});
}

void BM_DatImport(benchmark::State& state) {
    datFiles();
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<store::Table> games = emptyTable("dat.db");
        state.ResumeTiming();
        if (importFiles(*games).added != kGames) state.SkipWithError("not every game was added");
    }
}
BENCHMARK(BM_DatImport)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_DatSecondImport(benchmark::State& state) {
    const std::unique_ptr<store::Table> games = emptyTable("again.db");
    importFiles(*games);
    for (auto _ : state)
        if (importFiles(*games).unchanged != kGames) state.SkipWithError("the second import changed something");
}
BENCHMARK(BM_DatSecondImport)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_ListMerge(benchmark::State& state) {
    std::string list;
    for (int i = 0; i < kGames; ++i) list += nameOf(i) + " (" + kRegions[i % 5] + ");u\r\n";
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<store::Table> games = emptyTable("merge.db");
        state.ResumeTiming();
        tools::mergeList(*games, tools::readListFile(list), kQuiet);
    }
}
BENCHMARK(BM_ListMerge)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return gamarium::bench::runWithRatios(
        argc, argv,
        {{"DAT import of 30,000 games vs list merge of their names", "BM_DatImport/iterations:1/repeats:9",
          "BM_ListMerge/iterations:1/repeats:9", 2.0},
         {"second DAT import (no change) vs the first", "BM_DatSecondImport/iterations:1/repeats:9",
          "BM_DatImport/iterations:1/repeats:9", 0.5}});
}
