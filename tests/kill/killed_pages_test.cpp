// The page generator killed at several moments: each page file is whole,
// the old one or the new one, and what the killed run left half written
// is a temporary file that the next run removes.
#include "cli_process.h"
#include "core/files/files.h"
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

constexpr int kGames = 2000;

// What the output folder holds: pages that end as a page does, and the
// number of the program's temporaries. Anything else fails the test.
int checkFolder(const fs::path& site, const std::string& when) {
    int temporaries = 0;
    for (const auto& entry : fs::directory_iterator(site)) {
        const std::string name = entry.path().filename().string();
        if (files::isTemporaryName(name)) {
            ++temporaries;
            continue;
        }
        EXPECT_TRUE(name.ends_with(".htm")) << when << ": " << name;
        const std::string page = files::readFile(entry.path());
        EXPECT_TRUE(page.starts_with("<html>") && page.ends_with("</html>\r\n")) << when << ": " << name << " cut";
    }
    return temporaries;
}

TEST(KilledPages, LeavesWholePagesAndTemporariesTheNextRunRemoves) {
    TempFolder home;
    store::createBase(home.path(), "k", false);
    {
        store::Table games(store::basesFolder(home.path()), store::gameTableName("k"));
        games.open();
        for (int i = 1; i <= kGames; ++i) {
            games.append();
            games.fieldByName("N").setAsInteger(i);
            games.fieldByName("Name").setAsString(text::StoredText::fromCp1251("Game " + std::to_string(i)));
            games.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(std::string(1, static_cast<char>('a' + i % 26))));
            games.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(20000, 'x')));
            games.post();
        }
    }
    const fs::path site = home.path() / "site";
    fs::create_directory(site);
    std::ofstream(home.path() / "t.htd", std::ios::binary) << "$B\r\n<html>\r\n$B\r\n[$Name $Text]\r\n$B\r\n</html>\r\n";
    const std::vector<std::string> pages = {"--home", home.path().string(), "pages", "k",
                                            (home.path() / "t.htd").string(), site.string(), "--per-page", "1"};

    const auto started = steady_clock::now();
    int status = 0;
    waitpid(gamarium::testing::startCli(pages), &status, 0);
    const auto whole = duration_cast<milliseconds>(steady_clock::now() - started);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(checkFolder(site, "whole run"), 0);

    int leftBehind = 0;
    for (const double fraction : {0.1, 0.3, 0.5, 0.7, 0.9}) {
        // A different template each time, so that every page is written anew.
        std::ofstream(home.path() / "t.htd", std::ios::binary)
            << "$B\r\n<html>\r\n$B\r\n[$Name " << fraction << " $Text]\r\n$B\r\n</html>\r\n";
        const pid_t child = gamarium::testing::startCli(pages);
        std::this_thread::sleep_for(duration_cast<microseconds>(whole * fraction));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const int temporaries = checkFolder(site, "kill at " + std::to_string(fraction));
        leftBehind += temporaries;
        std::cout << "kill at " << fraction << " of " << whole.count() << " ms: " << temporaries << " temporaries\n";
    }

    waitpid(gamarium::testing::startCli(pages), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(checkFolder(site, "run after the kills"), 0) << leftBehind << " temporaries were left by the kills";
}

} // namespace
} // namespace gamarium
