// Pictures by name killed at several moments, then run again whole: the
// second run takes up what the killed one left, so every picture file of
// the base is named by its game, none is copied twice and no half-written
// copy stays.
#include "cli_process.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/tools/picture_audit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sys/wait.h>
#include <thread>

namespace gamarium {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using gamarium::testing::TempFolder;

constexpr int kGames = 2000;

std::string gameName(int i) {
    return "Game " + std::to_string(10000 + i);
}

void prepareBase(const files::Path& home) {
    fs::remove_all(home / "images");
    store::createBase(home, "k", true);
    store::Table table(store::basesFolder(home), store::gameTableName("k"));
    table.open();
    table.runAsOneTransaction([&] {
        for (int i = 0; i < kGames; ++i) {
            table.append();
            table.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(std::string(1, static_cast<char>('a' + i % 26))));
            table.fieldByName("Name").setAsString(text::StoredText::fromCp1251(gameName(i)));
            table.fieldByName("Region").setAsString("u"_stored);
            table.post();
        }
    });
}

int run(const std::vector<std::string>& arguments) {
    int status = 0;
    waitpid(gamarium::testing::startCli(arguments), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KilledPicturesByName, TheNextRunLeavesEveryFileNamedOnce) {
    TempFolder home;
    const fs::path collection = home.path() / "collection" / "Named_Snaps";
    fs::create_directories(collection);
    for (int i = 0; i < kGames; ++i) {
        // A tiny valid picture of its own content for each game.
        std::ofstream out(collection / (gameName(i) + " (USA).pgm"), std::ios::binary);
        out << "P5\n1 1\n65535\n" << static_cast<char>(i >> 8) << static_cast<char>(i & 0xFF);
    }
    const std::vector<std::string> pictures = {"--home", home.path().string(), "pictures", "k",
                                               (home.path() / "collection").string()};
    prepareBase(home.path());
    const auto started = steady_clock::now();
    ASSERT_EQ(run(pictures), 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);

    for (const double fraction : {0.3, 0.5, 0.7, 0.85, 0.95, 0.99}) {
        prepareBase(home.path());
        const pid_t child = gamarium::testing::startCli(pictures);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ASSERT_EQ(run(pictures), 0) << "kill at " << fraction;

        store::Table table(store::basesFolder(home.path()), store::gameTableName("k"));
        table.open();
        const tools::PictureAudit audit = tools::auditPictures(table, home.path() / "images" / "k");
        EXPECT_TRUE(audit.orphans.empty()) << "kill at " << fraction << ": " << audit.orphans.front().shown().bytes();
        EXPECT_TRUE(audit.twice.empty()) << "kill at " << fraction;
        int named = 0;
        table.forEachRecord({store::games::Image1},
                           [&](std::size_t) { named += !table.field(store::games::Image1).asString().bytes().empty(); });
        EXPECT_EQ(named, kGames) << "kill at " << fraction;
    }
    std::cout << "pictures by name for " << kGames << " games took " << whole.count() << " ms\n";
}

} // namespace
} // namespace gamarium
