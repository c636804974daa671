// The name search of the quick jump on a game table of 30,000 records in
// name order: time per search and the records it reads.
#include "core/editor/quick_jump.h"
#include "core/store/schema.h"
#include "core/store/table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;

std::vector<std::string> sortedNames() {
    std::mt19937 random(11);
    std::vector<std::string> names;
    for (int i = 0; i < kGames; ++i) {
        std::string name;
        for (int k = 0, length = 4 + static_cast<int>(random() % 12); k < length; ++k)
            name += static_cast<char>('a' + random() % 26);
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void BM_FindName(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "gamarium-name-search-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::vector<std::string> names = sortedNames();
    store::Table::create(folder, "g.db", store::gameTableSchema());
    store::Table games(folder, "g.db");
    games.open();
    games.runAsOneTransaction([&] {
        for (int i = 0; i < kGames; ++i) {
            games.append();
            games.fieldByName("N").setAsInteger(i + 1);
            games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(names[static_cast<std::size_t>(i)]));
            games.post();
        }
    });
    std::mt19937 random(5);
    std::uint64_t reads = 0, searches = 0, mostReads = 0;
    for (auto _ : state) {
        const std::string& name = names[random() % names.size()];
        const std::string prefix = name.substr(0, 1 + random() % name.size());
        const std::uint64_t before = games.recordsRead();
        editor::findname(games, prefix);
        const std::uint64_t read = games.recordsRead() - before;
        reads += read;
        mostReads = std::max(mostReads, read);
        ++searches;
    }
    state.counters["reads_per_search"] = static_cast<double>(reads) / static_cast<double>(searches);
    state.counters["most_reads"] = static_cast<double>(mostReads);
    games.close();
    fs::remove_all(folder);
}
BENCHMARK(BM_FindName)->Iterations(1000)->Repetitions(5)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
