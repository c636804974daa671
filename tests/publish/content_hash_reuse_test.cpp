// A file's hash is taken from the record of sent files while the key it was
// taken under (size, times, inode, device) is the same, and read again
// after anything that could have changed the content.
#include "publish_fixture.h"

#include "core/files/content_hash.h"
#include "core/publish/sent_record.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;

TEST(ContentHashReuse, OnlyAnUnchangedKeyKeepsTheRecordedHash) {
    TempFolder work;
    const fs::path home = work.path() / "program", site = work.path() / "сайт";
    const publish::SiteAddress address = publish::parseSiteAddress("sftp://me@example.org/www");
    const std::string recorded = "recorded hash, never of any content";
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> change;
        bool reused;
    };
    const auto write = [](const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    };
    const Case cases[] = {
        {"nothing changed", [](const fs::path&) {}, true},
        {"touched", [](const fs::path& file) { fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1)); },
         false},
        {"rewritten with the same size and its old modification time",
         [&](const fs::path& file) {
             const auto time = fs::last_write_time(file);
             write(file, "<html>BBBB</html>");
             fs::last_write_time(file, time);
         },
         false},
        {"replaced by a copy with the old time",
         [&](const fs::path& file) {
             fs::copy_file(file, fs::path(file) += ".copy", fs::copy_options::copy_symlinks);
             fs::last_write_time(fs::path(file) += ".copy", fs::last_write_time(file));
             fs::rename(fs::path(file) += ".copy", file);
         },
         false},
        {"grown", [&](const fs::path& file) { write(file, "<html>AAAA and more</html>"); }, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        fs::remove_all(site);
        writeTree(site, {{"Игры/a b.htm", "<html>AAAA</html>"}});
        const fs::path file = site / "Игры" / "a b.htm";
        fs::remove_all(home);
        publish::SentRecord record(home, site, address);
        // A file written just now could be written again within the same
        // clock tick without its key changing: its key is not kept yet.
        std::vector<publish::LocalFile> local = publish::listLocalFiles(site, record.hashes()).files;
        ASSERT_EQ(local.size(), 1u);
        EXPECT_FALSE(local[0].trustedKey);
        record.keepHashes(local, record.hashes());
        EXPECT_TRUE(record.hashes().empty());

        // As a later run finds it: the key kept with a hash.
        local[0].trustedKey = publish::regularFileKey(file);
        local[0].hash = recorded;
        record.keepHashes(local, {});
        // Past the clock tick of the write above, as a real run keeps no
        // younger key.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        test.change(file);
        local = publish::listLocalFiles(site, record.hashes()).files;
        ASSERT_EQ(local.size(), 1u);
        EXPECT_EQ(local[0].hash, test.reused ? recorded : files::hashOfFile(file));
    }
}

} // namespace
} // namespace gamarium::testing
