#include "core/pages/game_digests.h"
#include "core/pages/generator.h"
#include "core/pages/page_record.h"
#include "core/pages/picture_size_cache.h"
#include "core/pages/site_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace gamarium::pages {
namespace {

namespace fs = std::filesystem;

// A second run writes what a first run into an empty folder would, but
// makes only the pages whose inputs changed: the others are not even read.
class PagesRerun : public SiteTest {
protected:
    PagesRerun() {
        addPatch("r.zip", "ur");
        addPatch("j.zip", "ju");
        writePicture("a", "a1.png", 100, 50);
        writePicture("a", "a2.png", 200, 100);
        writePicture("a", "a3.png", 120, 90);
        writePicture("b", "b1.png", 300, 200);
        writePicture("d", "d1.png", 64, 48);
        add({.name = "a1", .sid = "a", .image1 = "a1.png"});
        add({.name = "a2", .sid = "a", .image1 = "a2.png"});
        add({.name = "a3", .sid = "a", .patch = 1, .image1 = "a3.png"});
        add({.name = "b1", .sid = "b", .image1 = "b1.png"});
        add({.name = "b2", .sid = "b"});                          // the size of b1's picture stands
        add({.name = "c1", .sid = "c", .image1 = "missing.png"}); // and on the next page too
        add({.name = "d1", .sid = "d", .patch = 2, .image1 = "d1.png"});
        settings_.gamesPerPage = 2;
        fs::create_directory(site());
        settings_.outputFolder = site();
    }

    fs::path site() const { return home_.path() / "site"; }

    GenerationReport run(const fs::path& folder) {
        PageSettings settings = settings_;
        settings.outputFolder = folder;
        return generatePages(games_, patches_, home_.path(), "games", template_, settings);
    }

    // The pages as a first run into an empty folder writes them.
    std::map<std::string, std::string> fresh() {
        const fs::path folder = home_.path() / ("fresh" + std::to_string(++freshRuns_));
        fs::create_directory(folder);
        run(folder);
        std::map<std::string, std::string> pages;
        for (const auto& entry : fs::directory_iterator(folder))
            pages[entry.path().filename().string()] = files::readFile(entry.path());
        return pages;
    }

    // Every page becomes bytes no run would write, its size, date and
    // identity kept: a page made again shows, one left alone does not.
    void scribble() {
        for (const auto& entry : fs::directory_iterator(site())) {
            const auto date = fs::last_write_time(entry.path());
            std::ofstream(entry.path(), std::ios::binary | std::ios::in) << std::string(fs::file_size(entry), '#');
            fs::last_write_time(entry.path(), date);
        }
    }

    std::set<std::string> madeAgain() const {
        std::set<std::string> made;
        for (const auto& entry : fs::directory_iterator(site()))
            if (files::readFile(entry.path()).find('#') == std::string::npos)
                made.insert(entry.path().filename().string());
        return made;
    }

    void change(std::int64_t position, const char* field, const std::string& value) {
        games_.moveToPosition(position);
        games_.edit();
        games_.fieldByName(field).setAsString(text::StoredText::fromCp1251(value));
        games_.post();
    }

    PageTemplate template_{"<$LETTER|$PAGES|$LETTERLIST>", "[$Name $Text $Width x $Height $Image $Patch]", "<end>"};
    PageSettings settings_;
    int freshRuns_ = 0;
};

TEST_F(PagesRerun, MakesExactlyThePagesWhoseInputsChanged) {
    const std::set<std::string> all{"*"}; // every page the run writes
    struct Case {
        const char* what;
        std::function<void()> change;
        std::set<std::string> made;
    };
    const Case cases[] = {
        {"nothing", [] {}, {}},
        {"a game's name", [&] { change(1, "Name", "a1x"); }, {"a.htm"}},
        {"a patched game's text", [&] { change(3, "Text1", "new"); }, {"a2.htm", "ru.htm"}},
        {"its patch",
         [&] {
             patches_.first();
             patches_.edit();
             patches_.fieldByName("Size").setAsString("77"_stored);
             patches_.post();
         },
         {"a2.htm", "ru.htm"}},
        {"a picture's size, which the next games without one show too",
         [&] { writePicture("b", "b1.png", 640, 480); }, {"b.htm", "c.htm"}},
        {"a picture written again at its size", [&] { writePicture("b", "b1.png", 640, 480); }, {}},
        {"a page file removed", [&] { fs::remove(site() / "d.htm"); }, {"d.htm"}},
        {"a page file edited by hand", [&] { std::ofstream(site() / "b2.htm") << "edited"; }, {"b2.htm"}},
        {"a game joining a group: its page list", [&] { add({.name = "c2", .sid = "c"}); }, {"c.htm", "c2.htm"}},
        {"a new group: the letter list", [&] { add({.name = "e1", .sid = "e"}); }, all},
        {"a setting", [&] { settings_.block.imagePath = "pictures/"; }, all},
        {"the template", [&] { template_.foot = "<the end>"; }, all},
        {"games per page", [&] { settings_.gamesPerPage = 3; }, all},
    };
    run(site());
    for (const Case& c : cases) {
        scribble();
        c.change();
        const GenerationReport report = run(site());
        const std::map<std::string, std::string> expected = fresh();
        std::set<std::string> made = c.made;
        if (c.made == all) {
            made.clear();
            for (const auto& [name, bytes] : expected)
                made.insert(name);
        }
        EXPECT_EQ(madeAgain(), made) << c.what;
        EXPECT_EQ(report.pagesWritten, static_cast<int>(made.size())) << c.what;
        EXPECT_EQ(report.pagesWritten + report.pagesUnchanged, static_cast<int>(expected.size())) << c.what;
        for (const std::string& name : made)
            EXPECT_EQ(files::readFile(site() / name), expected.at(name)) << c.what << ": " << name;
    }
}

// The caches only spare work: whatever becomes of them, a run writes what a
// run into an empty folder writes.
TEST_F(PagesRerun, DamagedOrUnwritableCachesAreMadeAnewOrDoneWithout) {
    const fs::path sizes = pictureSizeCacheFile(home_.path(), "games");
    const fs::path record = pageRecordFile(home_.path(), site());
    struct Case {
        const char* what;
        std::function<void()> damage;
    };
    const Case cases[] = {
        {"bytes that are no database", [&] {
             for (const fs::path& file : {sizes, record})
                 std::ofstream(file, std::ios::binary) << std::string(5000, 'x');
         }},
        {"databases of another kind", [&] {
             for (const fs::path& file : {sizes, record})
                 fs::copy_file(home_.path() / "base" / "games.db", file, fs::copy_options::overwrite_existing);
         }},
        {"the record of another folder", [&] {
             fs::create_directory(home_.path() / "other");
             run(home_.path() / "other");
             fs::copy_file(pageRecordFile(home_.path(), home_.path() / "other"), record,
                           fs::copy_options::overwrite_existing);
         }},
        {"no cache folder can be made", [&] {
             fs::remove_all(sizes.parent_path());
             std::ofstream(sizes.parent_path()) << "a file where the folder would be";
         }},
    };
    for (const Case& c : cases) {
        run(site());
        scribble();
        writePicture("a", "a1.png", 101 + freshRuns_, 50); // a change the damaged cache must not hide
        c.damage();
        EXPECT_NO_THROW(run(site())) << c.what;
        for (const auto& [name, bytes] : fresh())
            EXPECT_EQ(files::readFile(site() / name), bytes) << c.what << ": " << name;
        fs::remove_all(sizes.parent_path());
    }
}

// The games and patches of tables whose files have not changed since a run,
// with nothing in their journals, are not read again; any change to a table
// is seen.
TEST_F(PagesRerun, TablesUnchangedSinceAreNotReadAgain) {
    const fs::path base = home_.path() / "base";
    int size = 70;
    const auto editPatch = [&] {
        patches_.first();
        patches_.edit();
        patches_.fieldByName("Size").setAsInteger(++size);
        patches_.post();
    };
    const auto damage = [](const fs::path& file) {
        std::ofstream(file, std::ios::binary) << std::string(5000, 'x');
    };
    struct Case {
        const char* what;
        std::function<void()> change;
        std::set<std::string> made;
        bool gamesRead;   // the whole game table (a game of a page made reads it: the table is small)
        bool patchesRead; // the whole patch table
    };
    const Case cases[] = {
        {"nothing", [] {}, {}, false, false},
        {"an edit still in the game table's journal", [&] { change(1, "Name", "a1x"); }, {"a.htm"}, true, false},
        {"an edit the game table's file holds",
         [&] {
             change(4, "Name", "b1x");
             games_.close();
             games_.open();
         },
         {"b.htm"}, true, false},
        {"an edit still in the patch table's journal", editPatch, {"a2.htm", "ru.htm"}, true, true},
        {"an edit the patch table's file holds",
         [&] {
             editPatch();
             patches_.close();
             patches_.open();
         },
         {"a2.htm", "ru.htm"}, true, true},
        {"the kept digests damaged", [&] { damage(gameDigestsFile(home_.path(), "games")); }, {}, true, false},
        {"the kept patches damaged", [&] { damage(home_.path() / "cache" / "games.patches"); }, {}, false, true},
    };
    for (const Case& c : cases) {
        // A table changed a moment ago may change again with the same stamp.
        games_.close();
        patches_.close();
        for (const char* file : {"games.db", "games_patch.db"})
            fs::last_write_time(base / file, fs::file_time_type::clock::now() - std::chrono::hours(1));
        games_.open();
        patches_.open();
        run(site());
        ASSERT_TRUE(fs::exists(home_.path() / "cache" / "games.patches")) << c.what;
        scribble();
        c.change();
        const auto readWhole = [](const store::Table& table, std::uint64_t before) {
            return table.recordsRead() - before >= static_cast<std::uint64_t>(table.recordCount());
        };
        const std::uint64_t gamesBefore = games_.recordsRead(), patchesBefore = patches_.recordsRead();
        run(site());
        EXPECT_EQ(readWhole(games_, gamesBefore), c.gamesRead) << c.what;
        EXPECT_EQ(readWhole(patches_, patchesBefore), c.patchesRead) << c.what;
        EXPECT_EQ(madeAgain(), c.made) << c.what;
        const std::map<std::string, std::string> expected = fresh();
        for (const std::string& name : c.made)
            EXPECT_EQ(files::readFile(site() / name), expected.at(name)) << c.what << ": " << name;
    }
}

// A picture is known by its path, size, date and identity: one whose
// stamp is as it was is not opened again.
TEST_F(PagesRerun, APictureWithItsStampUnchangedIsNotOpened) {
    template_.block = "[$Width x $Height]";
    run(site());
    const fs::path picture = home_.path() / "images" / "games" / "a" / "a1.png";
    const auto date = fs::last_write_time(picture);
    writePicture("a", "a1.png", 999, 999); // the same number of bytes
    fs::last_write_time(picture, date);
    run(site());
    EXPECT_NE(files::readFile(site() / "a.htm").find("[100 x 50]"), std::string::npos);
    fs::last_write_time(picture, date + std::chrono::seconds(1));
    run(site());
    EXPECT_NE(files::readFile(site() / "a.htm").find("[499 x 499]"), std::string::npos);
}

} // namespace
} // namespace gamarium::pages
