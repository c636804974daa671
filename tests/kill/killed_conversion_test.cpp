// A conversion of a large old base killed at many moments: after every kill
// each table of the base is either the old Paradox table, untouched, or the
// converted table with every record (its old files kept under
// base/paradox/), never neither; and a conversion run again finishes.
#include "core/files/files.h"
#include "core/paradox/paradox_table.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/paradox_bulk_writer.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace gamarium {
namespace {

using namespace std::chrono;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

constexpr int kGames = 20000;
constexpr int kPatches = 2000;
constexpr auto kTimeBudget = seconds(60);

void writeOldBase(const fs::path& folder) {
    using gamarium::testing::OldRow;
    fs::create_directories(folder);
    std::vector<OldRow> games, patches;
    for (int i = 0; i < kGames; ++i) {
        OldRow row(27, std::nullopt);
        row[0] = std::to_string(i % 30000);
        row[2] = "Game " + std::to_string(i);
        row[17] = std::string(static_cast<std::size_t>(100 + i % 700), 'x');
        games.push_back(std::move(row));
    }
    for (int i = 0; i < kPatches; ++i) patches.push_back({std::to_string(i), "Patch", "1", "2", "ru", "A", "2000"});
    gamarium::testing::writeLargeOldTable(folder / "k.db", gamarium::testing::oldFieldsOf(store::gameTableSchema()), games);
    gamarium::testing::writeLargeOldTable(folder / "k_patch.db", gamarium::testing::oldFieldsOf(store::patchTableSchema()),
                                     patches);
}

// Starts `gamarium-cli convert k`; returns its process id.
pid_t startConversion(const TempFolder& home) {
    const pid_t child = fork();
    if (child == 0) {
        const std::string homeArgument = home.path().string();
        freopen("/dev/null", "w", stdout);
        execl(GAMARIUM_CLI, GAMARIUM_CLI, "--home", homeArgument.c_str(), "convert", "k", static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

int runConversion(const TempFolder& home) {
    int status = 0;
    waitpid(startConversion(home), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void restore(const fs::path& pristine, const fs::path& base) {
    fs::remove_all(base);
    fs::copy(pristine, base);
}

// Whether the old files of `table` lie whole in a folder under base/paradox/.
bool keptAside(const fs::path& base, const fs::path& pristine, const std::vector<std::string>& files) {
    std::error_code ec;
    for (const auto& folder : fs::directory_iterator(base / "paradox", ec)) {
        bool all = true;
        for (const std::string& name : files)
            all = all && fs::exists(folder.path() / name) &&
                  files::readFile(folder.path() / name) == files::readFile(pristine / name);
        if (all) return true;
    }
    return false;
}

// "old" or "new" for each table, failing the test on anything else.
std::string stateOf(const fs::path& base, const fs::path& pristine, const std::string& table,
                    const std::vector<std::string>& files, int records) {
    if (paradox::isParadoxTable(base / table)) {
        for (const std::string& name : files)
            EXPECT_EQ(files::readFile(base / name), files::readFile(pristine / name)) << name << " changed";
        return "old";
    }
    store::Table converted(base, table);
    converted.open();
    EXPECT_EQ(converted.recordCount(), records) << table;
    EXPECT_TRUE(keptAside(base, pristine, files)) << table << ": old files lost";
    return "new";
}

TEST(KilledConversion, LeavesTheOldTablesOrTheConvertedOnes) {
    TempFolder home;
    const fs::path base = home.path() / "base";
    const fs::path pristine = home.path() / "pristine";
    const auto writing = steady_clock::now();
    writeOldBase(pristine);
    std::cout << "old base written in " << duration_cast<milliseconds>(steady_clock::now() - writing).count() << " ms" << std::endl;

    restore(pristine, base);
    const auto started = steady_clock::now();
    ASSERT_EQ(runConversion(home), 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);

    // Kill moments as fractions of that time; most near the end, where the
    // old files are kept aside and the new tables take their names.
    std::vector<double> fractions = {0.1, 0.3, 0.5, 0.7};
    for (double f = 0.80; f < 1.15; f += 0.02) fractions.push_back(f);
    std::map<std::string, int> seen;
    const auto testStarted = steady_clock::now();
    for (const double fraction : fractions) {
        if (steady_clock::now() - testStarted > kTimeBudget) break;
        restore(pristine, base);
        const pid_t child = startConversion(home);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string state;
        try {
            state = stateOf(base, pristine, "k.db", {"k.db", "k.mb"}, kGames) + "/" +
                    stateOf(base, pristine, "k_patch.db", {"k_patch.db"}, kPatches);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "kill at " << fraction << ": " << e.what();
            continue;
        }
        ++seen[state];
        if (state != "new/new") {
            EXPECT_EQ(runConversion(home), 0) << "converting again after a kill at " << fraction;
            EXPECT_EQ(stateOf(base, pristine, "k.db", {"k.db", "k.mb"}, kGames), "new");
            EXPECT_EQ(stateOf(base, pristine, "k_patch.db", {"k_patch.db"}, kPatches), "new");
        }
    }
    std::cout << "conversion: " << whole.count() << " ms; after the kills (game/patch table):";
    for (const auto& [state, count] : seen) std::cout << " " << state << " " << count;
    std::cout << "\n";
}

} // namespace
} // namespace gamarium
