// Restore points killed at many moments. Taking a point: afterwards every
// point listed is whole, and with no point the command has not begun.
// Restoring: the next open of the base leaves it as before the restore or
// as at the point, tables and pictures alike, never mixed.
#include "cli_process.h"
#include "core/files/content_hash.h"
#include "core/files/files.h"
#include "core/history/point_store.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <map>
#include <sys/wait.h>
#include <thread>

namespace gamarium {
namespace {

using namespace std::chrono;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

constexpr int kGames = 20000;
constexpr int kPictures = 800;

// A base of `count` games numbered backwards, with long texts.
void fillBase(const fs::path& home, int count) {
    store::createBase(home, "k", false);
    store::Table games(store::basesFolder(home), store::gameTableName("k"));
    games.open();
    games.runAsOneTransaction([&] {
        for (int i = 1; i <= count; ++i) {
            games.append();
            games.fieldByName("N").setAsInteger(count + 1 - i);
            games.fieldByName("Sid").setAsString("g"_stored);
            games.fieldByName("Name").setAsString(text::StoredText::fromCp1251("Game " + std::to_string(100000 + i)));
            games.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(300, 'a' + i % 26)));
            games.post();
        }
    });
}

int exitCodeOf(const std::vector<std::string>& arguments) {
    int status = 0;
    waitpid(gamarium::testing::startCli(arguments), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the command whole once, then kills it at 40 moments across the
// first `span` of that time, calling `reset` before and `check` after each run.
void killAtManyMoments(const std::vector<std::string>& command, double span, const std::function<void()>& reset,
                       const std::function<void(double)>& check) {
    reset();
    const auto started = steady_clock::now();
    ASSERT_EQ(exitCodeOf(command), 0);
    const auto whole = duration_cast<microseconds>(steady_clock::now() - started);
    std::cout << command[2] << " takes " << whole.count() << " us\n";
    for (int step = 1; step <= 40; ++step) {
        const double fraction = span * step / 40.0;
        reset();
        const pid_t child = gamarium::testing::startCli(command);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        check(fraction);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(KilledPoint, LeavesAWholePointOrNoneAndThenNoChange) {
    TempFolder home;
    fillBase(home.path(), kGames);
    const fs::path table = home.path() / "base" / "k.db";
    const fs::path pristine = home.path() / "pristine.db";
    fs::copy_file(table, pristine);
    const fs::path history = home.path() / "base" / "history";
    int withPoint = 0;
    killAtManyMoments(
        {"--home", home.path().string(), "renumber", "k"}, 0.3,
        [&] {
            fs::remove_all(history);
            for (const char* suffix : {"-wal", "-shm"}) fs::remove(fs::path(table.string() + suffix));
            fs::copy_file(pristine, table, fs::copy_options::overwrite_existing);
        },
        [&](double fraction) {
            const history::PointStore points(home.path(), "k");
            const std::vector<history::Point> listed = points.points();
            ASSERT_LE(listed.size(), 1u);
            if (listed.empty()) {
                store::Table games(store::basesFolder(home.path()), "k.db");
                games.open();
                games.first();
                ASSERT_EQ(games.fieldByName("N").asInteger(), kGames) << "renumbered without a point, kill at " << fraction;
                return;
            }
            ++withPoint;
            ASSERT_NO_THROW(points.verify(listed.front())) << "kill at " << fraction;
            ASSERT_EQ(listed.front().games.records, kGames);
            // The next point sweeps what this run left half-built.
            ASSERT_EQ(exitCodeOf({"--home", home.path().string(), "empty", "k"}), 0);
            for (const auto& entry : fs::directory_iterator(history / "k"))
                ASSERT_FALSE(files::isTemporaryName(entry.path().filename().string())) << entry.path();
        });
    std::cout << "a point was whole before the kill in " << withPoint << " of 40 runs\n";
    EXPECT_GT(withPoint, 0);
    EXPECT_LT(withPoint, 40);
}

// The picture files under images/ with their contents, and the game table.
struct BaseState {
    std::map<std::string, std::string> pictures;
    std::vector<std::int64_t> numbers;
    bool operator==(const BaseState&) const = default;
};

BaseState stateOf(const fs::path& home) {
    BaseState state;
    for (const auto& entry : fs::recursive_directory_iterator(home / "images"))
        if (entry.is_regular_file())
            state.pictures[entry.path().lexically_relative(home).string()] = files::hashOfFile(entry.path());
    store::Table games(store::basesFolder(home), "k.db");
    games.open();
    games.forEachRecord({store::games::N}, [&](std::size_t) { state.numbers.push_back(games.field(store::games::N).asInteger()); });
    return state;
}

TEST(KilledRestore, LeavesTheBaseAsBeforeOrAsAtThePoint) {
    TempFolder work;
    const fs::path saved = work.path() / "saved", home = work.path() / "home";
    fs::create_directories(saved);
    fillBase(saved, kGames / 2);
    for (int i = 0; i < kPictures; ++i) {
        fs::create_directories(saved / "images" / "k" / "g");
        std::ofstream(saved / "images" / "k" / "g" / ("stray" + std::to_string(i) + ".png")) << "picture " << i;
    }
    const BaseState atPoint = stateOf(saved);
    const std::string where = saved.string();
    ASSERT_EQ(exitCodeOf({"--home", where, "check", "orphans", "k", "--move"}), 0);
    ASSERT_EQ(exitCodeOf({"--home", where, "renumber", "k"}), 0);
    const BaseState before = stateOf(saved);
    ASSERT_NE(before, atPoint);

    int restored = 0;
    killAtManyMoments(
        {"--home", home.string(), "restore", "k", "1"}, 1.0,
        [&] {
            fs::remove_all(home);
            fs::copy(saved, home, fs::copy_options::recursive);
        },
        [&](double fraction) {
            // The next open finishes a restore that was under way.
            ASSERT_EQ(exitCodeOf({"--home", home.string(), "jump", "k", "1"}), 0) << "kill at " << fraction;
            const BaseState now = stateOf(home);
            ASSERT_TRUE(now == before || now == atPoint) << "a mixed base, kill at " << fraction;
            // The point keeps a table of its own, whole.
            const history::PointStore points(home, "k");
            ASSERT_NO_THROW(points.verify(points.point(1))) << "kill at " << fraction;
            ASSERT_FALSE(fs::equivalent(home / "base" / "k.db", points.point(1).gamesFile())) << "kill at " << fraction;
            restored += now == atPoint;
        });
    std::cout << "restored before the kill (or finished at the next open) in " << restored << " of 40 runs\n";
    EXPECT_GT(restored, 0);
    EXPECT_LT(restored, 40);
}

// Restoring over a table cut short, killed at many moments: the damaged
// file is never lost (at its place or set aside whole, never both), and a
// restore run again ends with the point's table.
TEST(KilledRestore, NeverLosesTheDamagedTableItSetsAside) {
    TempFolder work;
    const fs::path saved = work.path() / "saved", home = work.path() / "home";
    fs::create_directories(saved / "images");
    fillBase(saved, kGames / 2);
    const BaseState atPoint = stateOf(saved);
    ASSERT_EQ(exitCodeOf({"--home", saved.string(), "renumber", "k"}), 0);
    const fs::path table = saved / "base" / "k.db";
    fs::resize_file(table, fs::file_size(table) / 2 + 100);
    const std::string damaged = files::hashOfFile(table);
    const auto damagedCopies = [&] {
        int copies = 0;
        for (const auto& entry : fs::recursive_directory_iterator(home / "base"))
            copies += entry.is_regular_file() && files::hashOfFile(entry.path()) == damaged;
        return copies;
    };
    int setAside = 0;
    killAtManyMoments(
        {"--home", home.string(), "restore", "k", "1"}, 1.0,
        [&] {
            fs::remove_all(home);
            fs::copy(saved, home, fs::copy_options::recursive);
        },
        [&](double fraction) {
            ASSERT_EQ(damagedCopies(), 1) << "kill at " << fraction;
            setAside += !fs::exists(home / "base" / "k.db") || files::hashOfFile(home / "base" / "k.db") != damaged;
            ASSERT_EQ(exitCodeOf({"--home", home.string(), "restore", "k", "1"}), 0) << "kill at " << fraction;
            ASSERT_EQ(damagedCopies(), 1) << "kill at " << fraction;
            ASSERT_EQ(stateOf(home), atPoint) << "kill at " << fraction;
        });
    std::cout << "set aside before the kill (or at the next open) in " << setAside << " of 40 runs\n";
    EXPECT_GT(setAside, 0);
    EXPECT_LT(setAside, 40);
}

} // namespace
} // namespace gamarium
