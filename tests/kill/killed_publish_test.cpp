// Publishing killed at many moments: every remote file is always whole (one
// of the versions the folder held), and the next run leaves the remote
// folder equal to the local one, without temporaries.
#include "cli_process.h"
#include "core/files/files.h"
#include "publish/publish_fixture.h"

#include <chrono>
#include <csignal>
#include <set>
#include <thread>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono;
using publish::Protocol;

class KilledPublish : public PublishTest {
protected:
    int runCli(std::optional<duration<double>> killAfter) {
        const pid_t child = startCli({"--home", home_.string(), "publish", site_.string(),
                                      server_->url(GetParam(), "www"), "--delete"});
        if (killAfter) {
            std::this_thread::sleep_for(*killAfter);
            kill(child, SIGKILL);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_P(KilledPublish, LeavesWholeFilesAndTheNextRunCompletes) {
    std::map<std::string, std::set<std::string>> versions;  // every content each file had
    const auto writeVersion = [&](int version) {
        Tree tree;
        // Files come and go between versions, so that removals are killed too.
        for (int i = version % 3; i < 150; ++i) {
            const std::string path = (i % 2 ? "игры/" : "") + std::string("p ") + std::to_string(i) + ".htm";
            tree[path] = "<html>" + std::to_string(version) + std::string(6000 + 37 * i, 'a' + version % 26) + "</html>";
            versions[path].insert(tree[path]);
        }
        fs::remove_all(site_);
        writeTree(site_, tree);
        return tree;
    };
    writeVersion(0);
    ASSERT_EQ(runCli(std::nullopt), 0);
    writeVersion(1);
    const auto started = steady_clock::now();
    ASSERT_EQ(runCli(std::nullopt), 0);
    const duration<double> whole = steady_clock::now() - started;

    int version = 2;
    for (const double fraction : {0.02, 0.1, 0.2, 0.3, 0.45, 0.6, 0.75, 0.9, 1.0}) {
        SCOPED_TRACE("killed at " + std::to_string(fraction));
        writeVersion(version++);
        runCli(whole * fraction);
        for (const auto& [path, bytes] : remote()) {
            if (files::isTemporaryName(fs::path(path).filename().string())) continue;
            ASSERT_TRUE(versions.count(path)) << path;
            EXPECT_TRUE(versions[path].count(bytes)) << path << " is not whole";
        }
    }
    const Tree local = writeVersion(version);
    ASSERT_EQ(runCli(std::nullopt), 0);
    // The names that differ, rather than two trees of 150 pages.
    const Tree there = remote();
    std::string differing;
    for (const auto& [path, bytes] : there)
        if (!local.count(path) || local.at(path) != bytes) differing += " " + path + (local.count(path) ? "" : " (gone here)");
    for (const auto& [path, bytes] : local)
        if (!there.count(path)) differing += " " + path + " (missing there)";
    EXPECT_EQ(differing, "");
}

// Killed as soon as the server removed a file with --delete, before the
// run could note it: the files put back unchanged are all sent again.
TEST_P(KilledPublish, FilesRemovedByAKilledRunAreSentAgain) {
    Tree local;
    for (int i = 0; i < 60; ++i) local["p " + std::to_string(i) + ".htm"] = "<html>" + std::string(100 + i, 'r') + "</html>";
    writeTree(site_, local);
    ASSERT_EQ(runCli(std::nullopt), 0);
    const fs::path www = server_->root() / "www";
    for (const int removals : {1, 4, 9, 16, 25, 36, 49}) {
        SCOPED_TRACE("killed after " + std::to_string(removals) + " removals");
        fs::remove_all(site_);
        fs::create_directories(site_);
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch, www.c_str(), IN_DELETE), 0);
        const pid_t child = startCli({"--home", home_.string(), "publish", site_.string(),
                                      server_->url(GetParam(), "www"), "--delete"});
        int seen = 0;
        pollfd ready{watch, POLLIN, 0};
        alignas(inotify_event) char events[4096];
        while (seen < removals && poll(&ready, 1, 30000) == 1) {
            const ssize_t size = read(watch, events, sizeof events);
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->len && !files::isTemporaryName(event->name)) ++seen;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(watch);
        EXPECT_GE(seen, removals);
        writeTree(site_, local);
        ASSERT_EQ(runCli(std::nullopt), 0);
        EXPECT_EQ(remote(), local);
    }
}

INSTANTIATE_TEST_SUITE_P(Protocols, KilledPublish, ::testing::Values(Protocol::Sftp, Protocol::Ftp),
                         [](const auto& info) { return protocolName(info.param); });

} // namespace
} // namespace gamarium::testing
