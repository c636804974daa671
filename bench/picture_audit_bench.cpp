// The picture audit of a base of 30,000 games with 150,000 picture files
// in 27 Sid folders (five pictures a game; 1% of the files named by no
// record, 1% copies of another file, sizes from 2 KB to 300 KB so that
// many files share a size with another) against the 2 s goal. The files
// are sparse beyond a head that tells them apart, so the base takes little
// disk; they lie in the page cache, as after a first run.
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/tools/picture_audit.h"
#include "goal_reporter.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;
constexpr int kPicturesPerGame = 5;
constexpr double kGoalMilliseconds = 2000;

fs::path benchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "gamarium-audit-bench";
        fs::remove_all(path);
        fs::create_directories(path / "images");
        return path;
    }();
    return folder;
}

std::string sidOf(int game) {
    return game % 27 == 26 ? "num" : std::string(1, static_cast<char>('a' + game % 27));
}

void writePicture(const fs::path& file, std::uint32_t head, std::uintmax_t size) {
    {
        std::ofstream out(file, std::ios::binary);
        out << "PICTURE " << head << '\n';
    }
    fs::resize_file(file, size);
}

store::Table& bigBase() {
    static std::unique_ptr<store::Table> games = [] {
        store::Table::create(benchFolder(), "big.db", store::gameTableSchema());
        auto table = std::make_unique<store::Table>(benchFolder(), "big.db");
        table->open();
        std::mt19937 random(9);
        std::uint32_t lastHead = 0;
        std::uintmax_t lastSize = 2000;
        table->runAsOneTransaction([&] {
            for (int game = 0; game < kGames; ++game) {
                const std::string sid = sidOf(game);
                const fs::path folder = benchFolder() / "images" / sid;
                fs::create_directories(folder);
                table->append();
                table->fieldByName("N").setAsInteger(game + 1);
                table->fieldByName("Sid").setAsString(text::StoredText::fromCp1251(sid));
                for (int p = 1; p <= kPicturesPerGame; ++p) {
                    const std::string name = "game" + std::to_string(game) + "_" + std::to_string(p) + ".png";
                    const bool orphan = random() % 100 == 0;
                    if (!orphan) table->fieldByName("Image" + std::to_string(p)).setAsString(text::StoredText::fromCp1251(name));
                    const bool copy = random() % 100 == 0;
                    const std::uint32_t head = copy ? lastHead : static_cast<std::uint32_t>(random());
                    const std::uintmax_t size = copy ? lastSize : 2000 + random() % 298000;
                    writePicture(folder / name, head, size);
                    lastHead = head;
                    lastSize = size;
                }
                table->post();
            }
        });
        return table;
    }();
    return *games;
}

void BM_AuditPictures(benchmark::State& state) {
    bigBase();
    std::size_t orphans = 0, twice = 0;
    for (auto _ : state) {
        const tools::PictureAudit audit = tools::auditPictures(bigBase(), benchFolder() / "images");
        orphans = audit.orphans.size();
        twice = audit.twice.size();
    }
    state.counters["orphans"] = static_cast<double>(orphans);
    state.counters["stored_twice"] = static_cast<double>(twice);
}
BENCHMARK(BM_AuditPictures)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const int status = gamarium::bench::runAgainstGoal(argc, argv, "BM_Audit", kGoalMilliseconds);
    fs::remove_all(benchFolder());
    return status;
}
