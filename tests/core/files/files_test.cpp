#include "core/files/files.h"

#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace gamarium::files {
namespace {

namespace fs = std::filesystem;

struct stat statusOf(const Path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status;
}

// A replaced file keeps who may read it, and whose it is where the process
// may give it away (root may).
TEST(FilesReplacing, TheReplacementKeepsModeAndOwner) {
    gamarium::testing::TempFolder folder;
    const Path file = folder.path() / "page.htm";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const bool mayGiveAway = ::geteuid() == 0;
    if (mayGiveAway) {
        ASSERT_EQ(::chown(file.c_str(), 4242, 4343), 0);
    }

    writeFileReplacing(file, "new");
    EXPECT_EQ(readFile(file), "new");
    const struct stat status = statusOf(file);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (mayGiveAway) {
        EXPECT_EQ(status.st_uid, 4242u);
        EXPECT_EQ(status.st_gid, 4343u);
    }
}

TEST(FilesTemporaries, OnlyTheProgramsOwnNamesAreTemporaries) {
    const std::pair<const char*, bool> cases[] = {
        {"a.htm.gamarium-tmp-0a1b2c", true},
        {"bases.ini.gamarium-tmp-ffffff", true},
        {"a.htm.gamarium-tmp-0a1b2", false},   // too few digits
        {"a.htm.gamarium-tmp-0a1b2c3", false}, // too many
        {"a.htm.gamarium-tmp-0A1B2C", false},  // the program writes small letters
        {"a.htm.gamarium-tmp-0a1b2z", false},
        {".gamarium-tmp-0a1b2c", false},       // the name of no file
        {"g18.htm.tmp954576", false},
        {"notes.tmp", false},
        {"a.htm", false},
    };
    for (const auto& [name, temporary] : cases) EXPECT_EQ(isTemporaryName(name), temporary) << name;
}

TEST(FilesTemporaries, RemovingThemLeavesEverythingElse) {
    gamarium::testing::TempFolder folder;
    const Path root = folder.path();
    for (const char* name : {"a.htm.gamarium-tmp-0a1b2c", "b.htm.gamarium-tmp-123456", "a.htm", "notes.tmp",
                             "a.htm.gamarium-tmp-0a1b2"})
        std::ofstream(root / name) << name;
    fs::create_directory(root / "kept.gamarium-tmp-abcdef");
    fs::create_directory_symlink(root / "kept.gamarium-tmp-abcdef", root / "link.gamarium-tmp-abcdef");

    removeTemporaries(root);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(root)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a.htm", "a.htm.gamarium-tmp-0a1b2", "kept.gamarium-tmp-abcdef",
                                              "link.gamarium-tmp-abcdef", "notes.tmp"}))
        << "only files, not folders or links to them";
}

TEST(FilesTemporaries, AReplacementLeavesNoneBehind) {
    gamarium::testing::TempFolder folder;
    writeFileReplacing(folder.path() / "a.htm", "page");
    writeFileReplacing(folder.path() / "a.htm", "page again");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.path())) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"a.htm"});
}

} // namespace
} // namespace gamarium::files
