// A large import killed at many moments, the last of them while the
// finished import is folded from the journal into the table file: after
// every kill the table opens, and holds every row of the import or none.
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
#include <unistd.h>

namespace gamarium {
namespace {

using namespace std::chrono;
using gamarium::testing::TempFolder;

constexpr int kRows = 200000;
constexpr auto kTimeBudget = seconds(55);

void writeImport(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "N,Name,Text1,Year\r\n";
    for (int i = 0; i < kRows; ++i)
        out << i % 30000 << ",Game " << i << "," << std::string(static_cast<std::size_t>(i % 200), 'x') << ","
            << 1980 + i % 40 << "\r\n";
}

// Starts `gamarium-cli import`; returns its process id.
pid_t startImport(const TempFolder& home, const std::filesystem::path& csv) {
    return gamarium::testing::startCli({"--home", home.path().string(), "import", "k", csv.string()});
}

int rowsIn(const TempFolder& home) {
    store::Table table(store::basesFolder(home.path()), store::gameTableName("k"));
    table.open();
    return table.recordCount();
}

TEST(KilledImport, LeavesEveryRowOrNone) {
    TempFolder home;
    store::createBase(home.path(), "k", false);
    const auto csv = home.path() / "big.csv";
    writeImport(csv);

    // One import run to its end gives the time the kills are spread over.
    const auto started = steady_clock::now();
    int status = 0;
    waitpid(startImport(home, csv), &status, 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(rowsIn(home), kRows);
    store::emptyBase(home.path(), "k");

    // Kill moments as fractions of that time; most of them near the end,
    // where the commit and the journal's checkpoint happen.
    std::vector<double> fractions = {0.1, 0.3, 0.5, 0.7};
    for (double f = 0.80; f < 1.15; f += 0.02) fractions.push_back(f);
    int tried = 0, opened = 0, whole_ = 0, none = 0;
    const auto testStarted = steady_clock::now();
    for (const double fraction : fractions) {
        if (steady_clock::now() - testStarted > kTimeBudget) break;
        const pid_t child = startImport(home, csv);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ++tried;
        std::error_code ec;
        const auto journal = std::filesystem::file_size(store::basesFolder(home.path()) / "k.db-wal", ec);
        const auto table = std::filesystem::file_size(store::basesFolder(home.path()) / "k.db", ec);
        int rows = -1;
        try {
            rows = rowsIn(home);
            ++opened;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "kill at " << fraction << " of the import: " << e.what();
            continue;
        }
        std::cout << "kill at " << fraction << " of " << whole.count() << " ms: table file " << table
                  << " bytes, journal " << (journal == static_cast<std::uintmax_t>(-1) ? 0 : journal) << " bytes; "
                  << rows << " rows\n";
        EXPECT_TRUE(rows == 0 || rows == kRows) << rows << " rows after a kill at " << fraction;
        if (rows == kRows) {
            ++whole_;
            store::emptyBase(home.path(), "k");
        } else {
            ++none;
        }
    }
    std::cout << "kills tried: " << tried << ", tables opened: " << opened << ", with every row: " << whole_
              << ", with none: " << none << "\n";
    EXPECT_EQ(opened, tried);
}

} // namespace
} // namespace gamarium
