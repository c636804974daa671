// A long list merge killed at several moments: every record is saved as its
// line is merged, so after a kill the table opens and holds the lines
// merged before it, in the order of the list, numbered on without a gap.
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

constexpr int kLines = 5000;

std::string gameName(int line) {
    return "Game " + std::to_string(line);
}

TEST(KilledMerge, KeepsEveryLineMergedBeforeTheKill) {
    TempFolder home;
    store::createBase(home.path(), "k", false);
    const auto list = home.path() / "list.txt";
    {
        std::ofstream out(list, std::ios::binary);
        for (int i = 1; i <= kLines; ++i) out << gameName(i) << " (U) [!];u\r\n";
    }
    const std::vector<std::string> merge = {"--home", home.path().string(), "merge", "k", list.string()};

    const auto started = steady_clock::now();
    int status = 0;
    waitpid(gamarium::testing::startCli(merge), &status, 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    for (const double fraction : {0.05, 0.2, 0.4, 0.6, 0.8, 0.95}) {
        store::emptyBase(home.path(), "k");
        const pid_t child = gamarium::testing::startCli(merge);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        store::Table table(store::basesFolder(home.path()), store::gameTableName("k"));
        ASSERT_NO_THROW(table.open()) << "kill at " << fraction;
        int line = 0;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
            ++line;
            ASSERT_EQ(table.fieldByName("Name").asString().bytes(), gameName(line)) << "kill at " << fraction;
            ASSERT_EQ(table.fieldByName("N").asInteger(), line) << "kill at " << fraction;
        }
        std::cout << "kill at " << fraction << " of " << whole.count() << " ms: " << line << " games\n";
    }
}

} // namespace
} // namespace gamarium
