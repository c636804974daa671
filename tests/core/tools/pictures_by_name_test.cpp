#include "core/error.h"
#include "core/files/files.h"
#include "core/history/picture_journal.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/failing_post.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"
#include "core/tools/pictures_by_name.h"
#include "core/tools/region_words.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Fields = std::map<std::string, std::string>;

fs::path fixture(const char* name) {
    return fs::path(GAMARIUM_TEST_DATA) / "pictures" / name;
}

std::string bytesOf(const fs::path& file) {
    return files::readFile(file);
}

TEST(CollectionNames, ReplaceTheCharactersFileNamesCannotHold) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tom & Jerry", "Tom _ Jerry"},
        {"Mario: Lost Levels", "Mario_ Lost Levels"},
        {"A*B/C:D`E<F>G?H\\I|J", "A_B_C_D_E_F_G_H_I_J"},
        {"Street Fighter II' - Turbo (USA)", "Street Fighter II' - Turbo (USA)"},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(collectionName(name), expected) << name;
}

TEST(RegionWords, NameTheLettersInAnyOrderAndCase) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"u", "USA"},     {"j", "Japan"},         {"e", "Europe"},        {"ue", "USA, Europe"},
        {"eu", "USA, Europe"}, {"JU", "Japan, USA"}, {"je", "Japan, Europe"}, {"jue", "World"},
        {"euj", "World"}, {"", std::nullopt},      {"pd", std::nullopt},    {"k", std::nullopt},
    };
    for (const auto& [letters, words] : cases) EXPECT_EQ(regionWords(letters), words) << letters;
}

TEST(SlotPictureNames, StartWithTheGameAndFitTheField) {
    EXPECT_EQ(slotPictureName("Chrono Trigger", 1, "", "PNG"), "Chrono_Trigger1.png");
    EXPECT_EQ(slotPictureName("Mario: Lost?", 3, "_2", "bmp"), "Mario_Lost_3_2.bmp");
    const std::string longName(80, 'a');
    const std::string cut = slotPictureName(longName, 5, "_12", "jpeg");
    EXPECT_EQ(cut.size(), 70u);
    EXPECT_TRUE(cut.ends_with("a5_12.jpeg")) << cut;
}

class PicturesByNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(home_.path(), "g.db", store::gameTableSchema());
        games_.open();
        root_ = home_.path() / "images" / "games";
        collection_ = home_.path() / "collection";
        fs::create_directories(collection_ / "Named_Snaps");
        fs::create_directories(collection_ / "Named_Titles");
    }
    void add(const Fields& fields) {
        games_.append();
        for (const auto& [name, value] : fields) games_.fieldByName(name).setAsString(text::fromUtf8(value));
        games_.post();
    }
    void put(const std::string& relative, const fs::path& source) {
        fs::create_directories((collection_ / relative).parent_path());
        fs::copy_file(source, collection_ / relative, fs::copy_options::overwrite_existing);
    }
    void putText(const fs::path& file, const std::string& content) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    PicturesByNameCounts run(PicturesByNameOptions options = {}) {
        lines_.clear();
        return addPicturesByName(games_, root_, collection_, options, journal_,
                                 [&](const text::StoredText& line) { lines_.push_back(text::toUtf8(line)); });
    }
    // Image1..Image5 of the game at a position, joined by "|".
    std::string images(int position) {
        games_.moveToPosition(position);
        std::string joined;
        for (int i = 1; i <= 5; ++i) joined += (i > 1 ? "|" : "") + games_.fieldByName("Image" + std::to_string(i)).asString().bytes();
        return joined;
    }
    bool reported(const std::string& part) const {
        for (const std::string& line : lines_)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    testing::TempFolder home_;
    history::JournalFile journal_{home_.path(), home_.path() / "journal.txt"};
    store::Table games_{home_.path(), "g.db"};
    fs::path root_, collection_;
    Lines lines_;
};

TEST_F(PicturesByNameTest, MatchesByFileOrByNameWithRegionWords) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    add({{"Sid", "m"}, {"Name", "Mario: Lost & Found"}, {"Region", "ue"}});
    add({{"Sid", "o"}, {"Name", "Other Name"}, {"Region", "j"}, {"File", "roms/Zelda no Densetsu (J) [!].zip"}});
    add({{"Sid", "n"}, {"Name", "Nowhere"}, {"Region", "x"}});
    add({{"Sid", "h"}, {"Name", "Homebrew"}});
    put("Named_Snaps/CHRONO TRIGGER (usa).png", fixture("quad.png"));
    put("Named_Snaps/Mario_ Lost _ Found (USA, Europe).png", fixture("quad.png"));
    put("Zelda no Densetsu (J) [!].bmp", fixture("quad.bmp"));
    put("Nowhere.png", fixture("quad.png"));
    put("Homebrew.tga", fixture("quad.tga"));
    put("Chrono Trigger (Japan).png", fixture("quad.png"));

    const PicturesByNameCounts counts = run();
    EXPECT_EQ(counts.added, 4);
    EXPECT_EQ(counts.unmatched, 2) << "Nowhere has no region words; the Japanese release is another game";
    EXPECT_EQ(images(1), "Chrono_Trigger1.png||||");
    EXPECT_EQ(images(2), "Mario_Lost__Found1.png||||");
    EXPECT_EQ(images(3), "Other_Name1.bmp||||");
    EXPECT_EQ(images(4), "||||");
    EXPECT_EQ(images(5), "Homebrew1.tga||||");
    EXPECT_EQ(bytesOf(root_ / "o" / "Other_Name1.bmp"), bytesOf(fixture("quad.bmp")));
}

TEST_F(PicturesByNameTest, FillsSlotsInOrderAndNeverATakenOne) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}, {"Image1", "mine.png"}});
    put("Named_Snaps/Chrono Trigger (USA).png", fixture("quad.png"));
    put("Named_Titles/Chrono Trigger (USA).bmp", fixture("quad.bmp"));
    EXPECT_EQ(run().added, 2);
    EXPECT_EQ(images(1), "mine.png|Chrono_Trigger2.png|Chrono_Trigger3.bmp||");

    games_.moveToPosition(1);
    games_.edit();
    games_.fieldByName("Image2").clear();
    games_.fieldByName("Image3").clear();
    games_.post();
    fs::remove_all(root_);
    EXPECT_EQ(run({.slot = 5, .dryRun = false}).added, 1);
    EXPECT_EQ(images(1), "mine.png||||Chrono_Trigger5.png");
    EXPECT_TRUE(reported("Нет свободного поля Image")) << "the second picture has no place in a filled Image5";

    const PicturesByNameCounts counts = run({.slot = 1, .dryRun = false});
    EXPECT_EQ(counts.added, 0);
    EXPECT_EQ(counts.alreadyThere, 1);
    EXPECT_EQ(counts.skipped, 1);
    EXPECT_EQ(images(1), "mine.png||||Chrono_Trigger5.png");
}

TEST_F(PicturesByNameTest, AUsersFileOrANameARecordGivesIsNeverOverwritten) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    add({{"Sid", "C"}, {"Name", "Chrono Trigger Jr"}, {"Image1", "chrono_trigger1_2.png"}}); // file not there
    putText(root_ / "c" / "CHRONO_TRIGGER1.PNG", "the user's own file");
    put("Chrono Trigger (USA).png", fixture("quad.png"));
    EXPECT_EQ(run().added, 1);
    EXPECT_EQ(images(1), "Chrono_Trigger1_3.png||||");
    EXPECT_TRUE(reported("Имя Chrono_Trigger1.png занято, взято Chrono_Trigger1_3.png")) << lines_.front();
    EXPECT_EQ(bytesOf(root_ / "c" / "CHRONO_TRIGGER1.PNG"), "the user's own file");
    EXPECT_EQ(bytesOf(root_ / "c" / "Chrono_Trigger1_3.png"), bytesOf(fixture("quad.png")));
}

TEST_F(PicturesByNameTest, UnreadableFilesAreReportedAndSkipped) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    putText(collection_ / "Named_Snaps" / "Chrono Trigger (USA).png", "not a picture");
    putText(collection_ / "Named_Titles" / "Chrono Trigger (USA).webp", "RIFF....WEBP");
    put("Chrono Trigger (USA).jpg", fixture("quad.jpg"));
    const PicturesByNameCounts counts = run();
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(counts.skipped, 2);
    EXPECT_TRUE(reported("пропущен: Named_Snaps/Chrono Trigger (USA).png"));
    EXPECT_TRUE(reported("пропущен: Named_Titles/Chrono Trigger (USA).webp"));
    EXPECT_EQ(images(1), "Chrono_Trigger1.jpg||||");
}

TEST_F(PicturesByNameTest, ASecondRunAndADryRunAddNothing) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    add({{"Sid", "d"}, {"Name", "Doom"}, {"Region", "e"}});
    put("Named_Snaps/Chrono Trigger (USA).png", fixture("quad.png"));
    put("Named_Titles/Doom (Europe).png", fixture("quad.png"));

    const PicturesByNameCounts dry = run({.slot = 0, .dryRun = true});
    EXPECT_EQ(dry.added, 2);
    EXPECT_FALSE(fs::exists(root_));
    EXPECT_EQ(images(1), "||||");

    EXPECT_EQ(run().added, 2);
    const PicturesByNameCounts again = run();
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.alreadyThere, 2);
    EXPECT_EQ(images(1), "Chrono_Trigger1.png||||");
    EXPECT_EQ(images(2), "Doom1.png||||");
    EXPECT_EQ(fs::directory_entry(root_ / "c").exists() ? std::distance(fs::directory_iterator(root_ / "c"), {}) : 0, 1);
}

TEST_F(PicturesByNameTest, AFailedTransactionTakesTheCopiesAway) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    add({{"Sid", "d"}, {"Name", "Doom"}, {"Region", "e"}});
    put("Chrono Trigger (USA).png", fixture("quad.png"));
    put("Doom (Europe).png", fixture("quad.png"));
    {
        const testing::FailingPost failing(games_, 2, "disk full");
        EXPECT_THROW(run(), Error);
    }
    EXPECT_EQ(images(1), "||||");
    EXPECT_EQ(images(2), "||||");
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(root_), {}), 2) << "only the folders c and d stay";
}

// What a killed run left (copies not yet named, a half-written copy) is
// taken up by the next run: the copy is named, not copied again under "_2",
// and the half-written one is removed. Games of one folder that match the
// same file share one copy; a dangling link is a taken name like a file.
TEST_F(PicturesByNameTest, ACopyInTheFolderIsNamedNotCopiedAgain) {
    add({{"Sid", "c"}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    add({{"Sid", "t"}, {"Name", "Terranigma"}, {"File", "Terranigma.sfc"}});
    add({{"Sid", "t"}, {"Name", "Terranigma"}, {"Region", "e"}, {"File", "terranigma.smc"}});
    add({{"Sid", "t"}, {"Name", "Terranigma"}, {"Region", "j"}, {"File", "TERRANIGMA.zip"}});
    add({{"Sid", "d"}, {"Name", "Doom"}, {"Region", "e"}});
    put("Chrono Trigger (USA).png", fixture("quad.png"));
    put("Named_Snaps/Terranigma.bmp", fixture("quad.bmp"));
    put("Doom (Europe).tga", fixture("quad.tga"));
    fs::create_directories(root_ / "c");
    fs::copy_file(fixture("quad.png"), root_ / "c" / "Chrono_Trigger1.png");
    putText(root_ / "c" / "Chrono_Trigger1.png.gamarium-tmp-0a1b2c", "half");
    putText(root_ / "c" / "notes.txt", "the user's");
    fs::create_directories(root_ / "d");
    fs::create_symlink(root_ / "nowhere", root_ / "d" / "Doom1.tga");

    const PicturesByNameCounts counts = run();
    EXPECT_EQ(counts.added, 5);
    EXPECT_EQ(images(1), "Chrono_Trigger1.png||||");
    EXPECT_EQ(images(2), "Terranigma1.bmp||||");
    EXPECT_EQ(images(3), "Terranigma1.bmp||||");
    EXPECT_EQ(images(4), "Terranigma1.bmp||||");
    EXPECT_EQ(images(5), "Doom1_2.tga||||");
    const auto namesIn = [](const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
        return names;
    };
    EXPECT_EQ(namesIn(root_ / "c"), (std::set<std::string>{"Chrono_Trigger1.png", "notes.txt"}));
    EXPECT_EQ(namesIn(root_ / "t"), (std::set<std::string>{"Terranigma1.bmp"}));
    EXPECT_EQ(namesIn(root_ / "d"), (std::set<std::string>{"Doom1.tga", "Doom1_2.tga"}));
    EXPECT_TRUE(fs::is_symlink(root_ / "d" / "Doom1.tga"));
    EXPECT_EQ(run().alreadyThere, 5) << "a second run adds nothing";
}

TEST_F(PicturesByNameTest, APictureFolderThatLeadsElsewhereIsRefused) {
    add({{"Sid", ".."}, {"Name", "Chrono Trigger"}, {"Region", "u"}});
    put("Chrono Trigger (USA).png", fixture("quad.png"));
    EXPECT_EQ(run().skipped, 1);
    EXPECT_EQ(images(1), "||||");
    EXPECT_FALSE(fs::exists(home_.path() / "images" / "Chrono_Trigger1.png"));
}

} // namespace
} // namespace gamarium::tools
