// Which restore points a base keeps: the last so many and the young ones,
// within a size, the newest always; the numbers from the settings file.
#include "core/error.h"
#include "core/history/keeping_rules.h"
#include "core/history/point_store.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

namespace gamarium::history {
namespace {

namespace fs = std::filesystem;
constexpr std::int64_t kDay = 24 * 60 * 60;
constexpr std::int64_t kNow = 1'700'000'000;

TEST(KeepingRules, TheLastAndTheYoungWithinTheSizeTheNewestAlways) {
    // Points 1..n, one a day (the last taken now), each of `size` bytes.
    const auto daily = [](int n, std::uintmax_t size, std::uintmax_t tables) {
        std::vector<KeptPoint> points;
        for (int id = 1; id <= n; ++id) points.push_back({id, kNow - (n - id) * kDay, size, tables});
        return points;
    };
    struct Case {
        const char* what;
        std::vector<KeptPoint> points;
        std::uintmax_t tablesNow;
        KeepingRules rules;
        std::vector<int> old, oversize; // removed, and why
    };
    const Case cases[] = {
        {"30 kept", daily(30, 1, 100), 100, {}, {}, {}},
        {"the 31st removes the oldest old one", daily(31, 1, 100), 100, {}, {1}, {}},
        {"young ones stay beyond the 30", [] {
             std::vector<KeptPoint> points;
             for (int id = 1; id <= 40; ++id) points.push_back({id, kNow - kDay, 1, 100});
             return points;
         }(), 100, {}, {}, {}},
        {"old ones beyond the last 3 go", daily(10, 1, 100), 100, {3, 2, 20}, {1, 2, 3, 4, 5, 6, 7}, {}},
        {"the size wins, the oldest first", daily(5, 100, 100), 100, {30, 7, 3}, {}, {1, 2}},
        {"a point.txt's time too far back to count from is old",
         {{1, std::numeric_limits<std::int64_t>::min(), 1, 100}, {2, kNow, 1, 100}}, 100, {1, 7, 20}, {1}, {}},
        {"the newest stays however big", daily(3, 10'000, 100), 100, {30, 7, 20}, {}, {1, 2}},
        {"a base emptied keeps the point of its old tables", [] {
             std::vector<KeptPoint> points{{1, kNow - kDay, 5000, 5000}};
             for (int id = 2; id <= 10; ++id) points.push_back({id, kNow, 10, 10});
             return points;
         }(), 10, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const RemovedPoints removed = pointsToRemove(c.points, c.tablesNow, c.rules, kNow);
        EXPECT_EQ(removed.old, c.old) << c.what;
        EXPECT_EQ(removed.oversize, c.oversize) << c.what;
    }
}

TEST(KeepingRules, SettingsFileGivesTheNumbersAndRefusesWhatItCannotRead) {
    testing::TempFolder folder;
    const fs::path file = folder.path() / "settings.ini";
    const KeepingRules defaults = readKeepingRules(file);
    EXPECT_EQ(std::tie(defaults.points, defaults.days, defaults.sizeFactor), std::make_tuple(30, 7, 20));
    std::ofstream(file) << "; restore points\r\npoints = 5\r\n\r\n# a week is too long\r\ndays=0\r\n";
    const KeepingRules read = readKeepingRules(file);
    EXPECT_EQ(std::tie(read.points, read.days, read.sizeFactor), std::make_tuple(5, 0, 20));
    for (const char* bad : {"point=5\n", "points=five\n", "points=0\n", "size=-1\n", "days\n"}) {
        std::ofstream(file) << bad;
        EXPECT_THROW(readKeepingRules(file), Error) << bad;
    }
}

// Through the store, on a clock of the test's own: the 31st point removes
// the oldest one older than a week, and the settings file changes the numbers.
TEST(KeepingRules, TheStoreKeepsThemOnEveryPoint) {
    testing::TempFolder home;
    store::createBase(home.path(), "snes", false);
    std::int64_t now = kNow - 10 * kDay;
    session::BaseSession session(home.path(), "snes");
    PointStore points(home.path(), "snes", [&] { return now; });
    const auto take = [&] {
        points.take("renumber", {&session.games().database(), false}, {&session.patches().database(), false});
    };
    // Each point is as big as the tables: the size rule alone would keep 20.
    fs::create_directories(home.path() / "base" / "history");
    std::ofstream(home.path() / "base" / "history" / "settings.ini") << "size=1000\n";
    for (int i = 0; i < 30; ++i) take();
    points.keepWithinRules();
    ASSERT_EQ(points.points().size(), 30u);
    now = kNow;
    take();
    points.keepWithinRules();
    std::vector<int> ids;
    for (const Point& point : points.points()) ids.push_back(point.id);
    ASSERT_EQ(ids.size(), 30u);
    EXPECT_EQ(ids.front(), 2);
    EXPECT_EQ(ids.back(), 31);

    std::ofstream(home.path() / "base" / "history" / "settings.ini") << "points=2\nsize=1000\n";
    take();
    points.keepWithinRules();
    ids.clear();
    for (const Point& point : points.points()) ids.push_back(point.id);
    EXPECT_EQ(ids, (std::vector<int>{31, 32})) << "the young ones stay, the old ones beyond the last 2 go";
}

} // namespace
} // namespace gamarium::history
