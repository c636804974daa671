// What of FOLDER goes out: its files, and links that stay inside it. A
// link that leads out of it or back into a folder it lies in, and a name a
// server command cannot carry, are told and left out while the rest goes
// out; version control's folders and the program's temporaries are never
// part of a site.
#include "publish_fixture.h"

#include <fstream>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;
using publish::Protocol;

class FolderContentsTest : public PublishTest {};

TEST_P(FolderContentsTest, SendsOnlyWhatLiesInTheFolder) {
    const fs::path elsewhere = work_.path() / "elsewhere";
    writeTree(elsewhere, {{"a.htm", "<html>elsewhere</html>"}});
    enum class Fate { Sent, Left, Told };
    struct Entry {
        std::string path;
        std::function<void(const fs::path&)> make;
        Fate fate;
        std::string told = {};  // how the message names it
    };
    const auto file = [](const std::string& bytes) {
        return [bytes](const fs::path& at) {
            fs::create_directories(at.parent_path());
            std::ofstream(at, std::ios::binary) << bytes;
        };
    };
    const auto link = [](const fs::path& to) {
        return [to](const fs::path& at) {
            fs::create_directories(at.parent_path());
            fs::create_symlink(to, at);
        };
    };
    const Entry entries[] = {
        {"index.htm", file("<html>главная</html>"), Fate::Sent},
        {"Игры/a.htm", file("<html>A</html>"), Fate::Sent},
        {"same.htm", link("index.htm"), Fate::Sent},
        {"linked/a.htm", [](const fs::path& at) { fs::create_directory_symlink("Игры", at.parent_path()); }, Fate::Sent},
        {".git/config", file("[remote] url = https://token@example.org"), Fate::Left},
        {".svn/entries", file("svn"), Fate::Left},
        {".hg/hgrc", file("hg"), Fate::Left},
        {"Игры/.git", file("gitdir: ../.git"), Fate::Left},
        {"index.htm.gamarium-tmp-0a1b2c", file("half"), Fate::Left},
        {"notes.txt", link(server_->clientHome() / ".netrc"), Fate::Told},
        {"outside", link(elsewhere), Fate::Told},
        {"config.txt", link(".git/config"), Fate::Told},
        {"Игры/up", link(".."), Fate::Told},
        {"linked/up", [](const fs::path&) {}, Fate::Told},
        {"bad\x1b[31m.htm", file("<html>ESC</html>"), Fate::Told, "bad\\x1B[31m.htm"},
    };
    for (const Entry& entry : entries) entry.make(site_ / entry.path);
    Tree expected;
    for (const Entry& entry : entries) {
        if (entry.fate != Fate::Sent) continue;
        std::ifstream in(site_ / entry.path, std::ios::binary);
        expected[entry.path] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const CliResult result = publish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(remote(), expected);
    std::size_t told = 0;
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.path);
        const std::string name = entry.told.empty() ? entry.path : entry.told;
        const bool named = result.err.find("пропущен " + name + ":") != std::string::npos;
        EXPECT_EQ(named, entry.fate == Fate::Told) << result.err;
        told += entry.fate == Fate::Told;
    }
    EXPECT_EQ(result.lastLine(), "отправлено " + std::to_string(expected.size()) +
                                     ", удалено 0, без изменений 0, пропущено " + std::to_string(told));
    EXPECT_EQ((result.out + result.err).find('\x1b'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sftp, FolderContentsTest, ::testing::Values(Protocol::Sftp),
                         [](const auto& info) { return protocolName(info.param); });

} // namespace
} // namespace gamarium::testing
