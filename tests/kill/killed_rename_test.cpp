// A rename killed at many moments: its table changes are one transaction,
// so afterwards the table holds the old record or the renamed one, never
// both and never a blank one; the picture is in one of the two folders,
// in the old one as long as the old record stands.
#include "cli_process.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <sys/wait.h>
#include <thread>

namespace gamarium {
namespace {

using namespace std::chrono;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

constexpr int kGames = 3000;
constexpr int kRenamed = 1500;

std::string gameName(int i) {
    std::string digits = std::to_string(i);
    return "Game " + std::string(4 - digits.size(), '0') + digits;
}

TEST(KilledRename, LeavesTheOldRecordOrTheNewOne) {
    TempFolder home;
    store::createBase(home.path(), "k", false);
    const fs::path tables = store::basesFolder(home.path());
    const fs::path table = tables / store::gameTableName("k");
    {
        store::Table games(tables, store::gameTableName("k"));
        games.open();
        games.runAsOneTransaction([&] {
            for (int i = 1; i <= kGames; ++i) {
                games.append();
                games.fieldByName("N").setAsInteger(i);
                games.fieldByName("Sid").setAsString("g"_stored);
                games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(gameName(i)));
                games.fieldByName("Image1").setAsString(text::StoredText::fromCp1251("picture" + std::to_string(i) + ".png"));
                games.post();
            }
        });
    }
    const fs::path pristine = home.path() / "pristine.db";
    fs::copy_file(table, pristine);
    const fs::path pictures = home.path() / "images" / "k";
    const std::string picture = "picture" + std::to_string(kRenamed) + ".png";
    const auto restore = [&] {
        for (const char* suffix : {"-wal", "-shm"}) fs::remove(fs::path(table.string() + suffix));
        fs::copy_file(pristine, table, fs::copy_options::overwrite_existing);
        fs::remove_all(pictures);
        fs::create_directories(pictures / "g");
        std::ofstream(pictures / "g" / picture) << "picture";
    };
    const std::vector<std::string> rename = {"--home", home.path().string(), "rename", "k",
                                             std::to_string(kRenamed), "Aaa"};

    restore();
    const auto started = steady_clock::now();
    int status = 0;
    waitpid(gamarium::testing::startCli(rename), &status, 0);
    const auto whole = duration_cast<microseconds>(steady_clock::now() - started);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    int renamedRuns = 0;
    for (int step = 1; step <= 40; ++step) {
        const double fraction = step / 40.0;
        restore();
        const pid_t child = gamarium::testing::startCli(rename);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        store::Table games(tables, store::gameTableName("k"));
        ASSERT_NO_THROW(games.open()) << "kill at " << fraction;
        ASSERT_EQ(games.recordCount(), kGames) << "kill at " << fraction;
        bool oldName = false, newName = false;
        games.forEachRecord({store::games::Name, store::games::Drname}, [&](std::size_t) {
            const std::string name = games.field(store::games::Name).asString().bytes();
            ASSERT_FALSE(name.empty()) << "a blank record, kill at " << fraction;
            oldName = oldName || name == gameName(kRenamed);
            if (name == "Aaa") {
                newName = true;
                EXPECT_EQ(games.fieldByName("Drname").asString().bytes(), gameName(kRenamed));
            }
        });
        ASSERT_NE(oldName, newName) << "kill at " << fraction;
        const bool inOld = fs::exists(pictures / "g" / picture), inNew = fs::exists(pictures / "a" / picture);
        ASSERT_NE(inOld, inNew) << "kill at " << fraction;
        if (oldName) {
            ASSERT_TRUE(inOld) << "kill at " << fraction;
        }
        renamedRuns += newName;
    }
    std::cout << "a rename takes " << whole.count() << " us; renamed before the kill in " << renamedRuns
              << " of 40 runs\n";
}

} // namespace
} // namespace gamarium
