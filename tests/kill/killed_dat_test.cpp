// A DAT import killed at several moments: the import is one transaction, so
// after a kill the table opens and is either as it was before or fully
// imported, never in between.
#include "cli_process.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/tools/merge.h"

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

constexpr int kGames = 20000;
constexpr int kMerged = 2000;

std::string gameName(int i) {
    return "Game " + std::to_string(100000 + i * 7 % kGames);
}

// The whole table, one text per record.
std::vector<std::string> contents(const files::Path& home) {
    store::Table table(store::basesFolder(home), store::gameTableName("k"));
    table.open();
    std::vector<std::string> rows;
    std::vector<store::FieldKey> fields;
    for (int i = 0; i < table.fieldCount(); ++i) fields.emplace_back(table.field(i).name());
    table.forEachRecord(fields, [&](std::size_t) {
        std::string row;
        for (int i = 0; i < table.fieldCount(); ++i) row += table.field(i).asString().bytes() + "|";
        rows.push_back(std::move(row));
    });
    return rows;
}

// A base made by a list merge of some of the DAT's games, in name order.
void prepareBase(const files::Path& home) {
    store::createBase(home, "k", true);
    store::Table table(store::basesFolder(home), store::gameTableName("k"));
    table.open();
    std::string list;
    for (int i = 0; i < kMerged; ++i) list += "Game " + std::to_string(100000 + i * 10) + " (USA);u\r\n";
    tools::mergeList(table, tools::readListFile(list), [](const text::StoredText&) {});
}

TEST(KilledDatImport, LeavesTheTableAsItWasOrFullyImported) {
    TempFolder home;
    const auto dat = home.path() / "games.dat";
    const auto meta = home.path() / "developer.dat";
    {
        std::ofstream games(dat, std::ios::binary), developers(meta, std::ios::binary);
        for (int i = 0; i < kGames; ++i) {
            char crc[9];
            std::snprintf(crc, sizeof crc, "%08X", i);
            games << "game (\n\tname \"" << gameName(i) << " (USA)\"\n\tregion \"USA\"\n\trom ( name \"" << gameName(i)
                  << " (USA).sfc\" size 1048576 crc " << crc << " )\n)\n";
            developers << "game (\n\tcomment \"" << gameName(i) << "\"\n\tdeveloper \"Studio " << i % 50
                       << "\"\n\trom ( crc " << crc << " )\n)\n";
        }
    }
    const std::vector<std::string> import = {"--home", home.path().string(), "dat", "k", dat.string(), meta.string()};

    prepareBase(home.path());
    const std::vector<std::string> before = contents(home.path());
    const auto started = steady_clock::now();
    int status = 0;
    waitpid(gamarium::testing::startCli(import), &status, 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::vector<std::string> after = contents(home.path());
    ASSERT_EQ(after.size(), static_cast<std::size_t>(kGames));

    int untouched = 0, imported = 0;
    for (const double fraction : {0.1, 0.3, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99, 1.5}) {
        prepareBase(home.path());
        const pid_t child = gamarium::testing::startCli(import);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        std::vector<std::string> found;
        ASSERT_NO_THROW(found = contents(home.path())) << "kill at " << fraction;
        const bool asBefore = found == before;
        ASSERT_TRUE(asBefore || found == after) << "kill at " << fraction << ": " << found.size() << " records";
        ++(asBefore ? untouched : imported);
    }
    std::cout << "import of " << kGames << " games took " << whole.count() << " ms; killed runs left " << untouched
              << " tables as they were and " << imported << " fully imported\n";
}

} // namespace
} // namespace gamarium
