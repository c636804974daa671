// Taking a restore point of a base of 30,000 games as a command does (both
// tables copied, the write-ahead journal folded into the copy, the keeping
// rules run over 20 points), and restoring one, against copying the same
// two table files with `cp`, side by side; and a point after 300 games
// saved, as in the editor. The files lie in the page
// cache, as they do while the base is worked on.
#include "core/history/point_store.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "ratio_reporter.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;

fs::path benchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "gamarium-point-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// The base, filled as a site's base is: names, makers, five pictures and a
// description of a few hundred characters a game; held open as the editor
// holds it.
session::BaseSession& bigBase() {
    static std::unique_ptr<session::BaseSession> session = [] {
        store::createBase(benchFolder(), "big", false);
        {
            store::Table games(store::basesFolder(benchFolder()), "big.db");
            games.open();
            games.runAsOneTransaction([&] {
                for (int i = 0; i < kGames; ++i) {
                    const std::string name = "Game " + std::to_string(100000 + i);
                    games.append();
                    games.fieldByName("N").setAsInteger(i % 30000 + 1);
                    games.fieldByName("Sid").setAsString("g"_stored);
                    games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(name));
                    games.fieldByName("Publisher").setAsString(text::StoredText::fromCp1251("Publisher " + std::to_string(i % 300)));
                    games.fieldByName("Developer").setAsString(text::StoredText::fromCp1251("Developer " + std::to_string(i % 700)));
                    games.fieldByName("Year").setAsInteger(1990 + i % 10);
                    for (int p = 1; p <= 5; ++p)
                        games.fieldByName("Image" + std::to_string(p)).setAsString(text::StoredText::fromCp1251(name + std::to_string(p) + ".png"));
                    games.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(300 + i % 200, static_cast<char>('a' + i % 26))));
                    games.post();
                }
            });
        }
        return std::make_unique<session::BaseSession>(benchFolder(), "big");
    }();
    return *session;
}

// A base keeps this many points while it is worked on.
constexpr int kKeptPoints = 20;

// Takes a point of the base as a whole-base command does, timed with the
// keeping rules run over the points already kept, after `before` (not
// timed) each time; the point goes again untimed.
void takePoints(benchmark::State& state, const std::function<void(session::BaseSession&)>& before) {
    session::BaseSession& session = bigBase();
    history::PointStore points(benchFolder(), "big");
    const auto take = [&] {
        return points.take("bench", {&session.games().database(), false}, {&session.patches().database(), false});
    };
    while (points.points().size() < kKeptPoints) take();
    for (auto _ : state) {
        state.PauseTiming();
        before(session);
        state.ResumeTiming();
        const history::Point point = take();
        points.keepWithinRules();
        state.PauseTiming();
        fs::remove_all(point.folder);
        state.ResumeTiming();
    }
}

void BM_TakePoint(benchmark::State& state) {
    takePoints(state, [](session::BaseSession&) {});
}
BENCHMARK(BM_TakePoint)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The editor's case: games saved since the tables were opened lie in the
// write-ahead journal, which goes into the point too.
void BM_TakePointAfterEdits(benchmark::State& state) {
    takePoints(state, [](session::BaseSession& session) {
        store::Table& games = session.games();
        for (int i = 1; i <= 300; ++i) {
            games.moveToPosition(i * 97);
            games.edit();
            games.fieldByName("Rating").setAsInteger(i);
            games.post();
        }
    });
}
BENCHMARK(BM_TakePointAfterEdits)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// A restore of a point taken earlier, its own point and all; that point
// goes again untimed, and what is written lies on the disk before the next
// restore, as it does within half a minute.
void BM_Restore(benchmark::State& state) {
    session::BaseSession& session = bigBase();
    history::PointStore points(benchFolder(), "big");
    const int target =
        points.take("bench", {&session.games().database(), false}, {&session.patches().database(), false}).id;
    ::sync();
    for (auto _ : state) {
        session.restore(target, false, "restore");
        state.PauseTiming();
        fs::remove_all(points.points().back().folder);
        ::sync();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Restore)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_CopyTableFilesWithCp(benchmark::State& state) {
    bigBase();
    const fs::path base = store::basesFolder(benchFolder()), copy = benchFolder() / "copy";
    const std::string command = "cp '" + (base / "big.db").string() + "' '" + (base / "big_patch.db").string() +
                                "' '" + copy.string() + "'";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(copy);
        fs::create_directories(copy);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
    state.counters["MB"] = static_cast<double>(fs::file_size(base / "big.db")) / 1e6;
}
BENCHMARK(BM_CopyTableFilesWithCp)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return gamarium::bench::runWithRatios(
        argc, argv,
        {{"a restore point of 30,000 games vs cp of the table files", "BM_TakePoint/iterations:1/repeats:7",
          "BM_CopyTableFilesWithCp/iterations:1/repeats:7", 2.0},
         {"the same after 300 games saved in the editor", "BM_TakePointAfterEdits/iterations:1/repeats:7",
          "BM_CopyTableFilesWithCp/iterations:1/repeats:7", 2.0},
         {"a restore of 30,000 games vs cp of the table files", "BM_Restore/iterations:1/repeats:7",
          "BM_CopyTableFilesWithCp/iterations:1/repeats:7", 2.0}});
}
