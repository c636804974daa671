#include "core/error.h"
#include "core/files/files.h"
#include "core/history/picture_journal.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"
#include "core/tools/picture_audit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class PictureAuditTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(home_.path(), "g.db", store::gameTableSchema());
        games_.open();
        root_ = home_.path() / "images" / "games";
        fs::create_directories(root_);
    }
    void add(const std::string& sid, const Lines& images) {
        games_.append();
        games_.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(sid));
        for (std::size_t i = 0; i < images.size(); ++i)
            games_.fieldByName("Image" + std::to_string(i + 1)).setAsString(text::StoredText::fromCp1251(images[i]));
        games_.post();
    }
    void file(const std::string& relative, const std::string& content) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }
    // Every file under the picture root with its content.
    std::map<std::string, std::string> tree() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            if (entry.is_regular_file()) files[fs::relative(entry.path(), root_).string()] = files::readFile(entry.path());
        return files;
    }
    Lines report(const PictureAudit& audit) const {
        Lines lines;
        reportAudit(audit, [&](const text::StoredText& line) { lines.push_back(text::toUtf8(line)); });
        return lines;
    }

    testing::TempFolder home_;
    history::JournalFile journal_{home_.path(), home_.path() / "journal.txt"};
    store::Table games_{home_.path(), "g.db"};
    fs::path root_;
};

TEST_F(PictureAuditTest, FindsOrphansUnusedFoldersAndPicturesStoredTwice) {
    add("a", {"alpha1.png", "alpha2.png"});
    add("A", {"shared.png"});
    add("b", {"SHARED.PNG", "beta.png"}); // another folder: its own shared.png
    add("c", {"same.png"});
    add("c", {"same.png"}); // two records, one file: no orphan
    file("a/alpha1.png", "picture one");
    file("a/ALPHA2.PNG", "picture two");
    file("a/shared.png", "picture three");
    file("a/old.png", "picture one");   // a copy of alpha1 that no record names
    file("b/shared.png", "picture 3333!"); // the size of "picture three", other content
    file("b/beta.png", "picture two");
    file("c/same.png", "c");
    file("zz/left.png", "left over");
    file("light/a/alpha1.png", "picture one"); // the light set is not counted
    file("loose.png", "not in a folder");

    const PictureAudit audit = auditPictures(games_, root_);
    EXPECT_EQ(report(audit), (Lines{
                                 "Файл без записи: a/old.png",
                                 "Файл без записи: zz/left.png",
                                 "Папка без записей: zz",
                                 "Одинаковые: a/ALPHA2.PNG = b/beta.png",
                                 "Одинаковые: a/alpha1.png = a/old.png",
                                 "Файлов без записи: 2, папок без записей: 1, повторов: 2",
                             }));
}

TEST_F(PictureAuditTest, DuplicatesAreFoundPastTheHashedStartOfLargeFiles) {
    add("a", {"one.png", "two.png", "three.png", "four.png"});
    const std::string start(5000, 'x');
    file("a/one.png", start + "tail A");
    file("a/two.png", start + "tail B");
    file("a/three.png", start + "tail A");
    file("a/four.png", start + "tail B");
    const PictureAudit audit = auditPictures(games_, root_);
    ASSERT_EQ(audit.twice.size(), 2u);
    EXPECT_EQ(audit.twice[0][0].shown() + " "_stored + audit.twice[0][1].shown(), "a/four.png a/two.png"_stored);
    EXPECT_EQ(audit.twice[1][0].shown() + " "_stored + audit.twice[1][1].shown(), "a/one.png a/three.png"_stored);
}

TEST_F(PictureAuditTest, MovingOrphansAsideAndBackRestoresTheFolders) {
    add("a", {"kept.png"});
    file("a/kept.png", "kept");
    file("a/stray.png", "stray");
    file("zz/left.png", "left");
    file("_orphans/zz/left.png", "an earlier orphan of that name");
    const auto before = tree();

    const PictureAudit audit = auditPictures(games_, root_);
    Lines lines;
    EXPECT_EQ(moveOrphans(audit, root_, journal_, [&](const text::StoredText& line) { lines.push_back(text::toUtf8(line)); }), 1);
    EXPECT_EQ(lines.front(), "Не перенесён (место в _orphans занято или нет доступа): zz/left.png");
    EXPECT_FALSE(fs::exists(root_ / "a" / "stray.png"));
    EXPECT_EQ(files::readFile(root_ / "_orphans" / "a" / "stray.png"), "stray");
    EXPECT_EQ(files::readFile(root_ / "_orphans" / "zz" / "left.png"), "an earlier orphan of that name");
    EXPECT_EQ(auditPictures(games_, root_).orphans.size(), 1u) << "only the file that could not move is left";

    fs::rename(root_ / "_orphans" / "a" / "stray.png", root_ / "a" / "stray.png");
    EXPECT_EQ(tree(), before);
}

// A linked folder is shown as such and never moved from: its files are
// the files of the folder it leads to (named through it by a record, they
// are in use) or lie outside the base. One file under two names is one file.
TEST_F(PictureAuditTest, LinkedFoldersAreListedAndNothingIsMovedThroughThem) {
    add("b", {"Beta1.png"});
    add("oc", {"Gamma.png"}); // c's picture, named through the link
    file("b/Beta1.png", "beta");
    file("c/Gamma.png", "gamma");
    fs::create_hard_link(root_ / "b" / "Beta1.png", root_ / "b" / "Beta1-again.png");
    fs::create_directory_symlink("b", root_ / "old_b");
    fs::create_directory_symlink("c", root_ / "oc");
    const fs::path outside = home_.path() / "elsewhere";
    fs::create_directories(outside);
    std::ofstream(outside / "x.png") << "same";
    std::ofstream(outside / "y.png") << "same";
    fs::create_directory_symlink(outside, root_ / "zz");
    const auto before = tree();

    const PictureAudit audit = auditPictures(games_, root_);
    EXPECT_EQ(report(audit), (Lines{
                                 "Папка-ссылка: oc -> c",
                                 "Папка-ссылка: old_b -> b",
                                 "Папка-ссылка вне папки картинок, не проверяется: zz -> " + outside.string(),
                                 "Файлов без записи: 0, папок без записей: 0, повторов: 0",
                             }));
    EXPECT_EQ(moveOrphans(audit, root_, journal_, [](const text::StoredText&) {}), 0);
    EXPECT_EQ(tree(), before);
    EXPECT_TRUE(fs::exists(outside / "x.png") && fs::exists(outside / "y.png"));
}

TEST_F(PictureAuditTest, AnOrphanFolderThatIsALinkIsRefused) {
    add("a", {"kept.png"});
    file("a/kept.png", "kept");
    file("a/stray.png", "stray");
    const fs::path aside = home_.path() / "aside";
    fs::create_directories(aside);
    fs::create_directory_symlink(aside, root_ / "_orphans");

    const PictureAudit audit = auditPictures(games_, root_);
    ASSERT_EQ(audit.orphans.size(), 1u);
    try {
        moveOrphans(audit, root_, journal_, [](const text::StoredText&) {});
        ADD_FAILURE() << "moved into a linked _orphans";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("_orphans"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::exists(root_ / "a" / "stray.png"));
    EXPECT_TRUE(fs::is_empty(aside));
}

} // namespace
} // namespace gamarium::tools
