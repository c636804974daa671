#include "core/error.h"
#include "core/pages/generator.h"
#include "core/pages/site_fixture.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <chrono>

namespace gamarium::pages {
namespace {

namespace fs = std::filesystem;

class PagesGenerator : public SiteTest {
protected:
    PagesGenerator() {
        fs::create_directory(site());
        settings_.outputFolder = site() / "";
    }

    fs::path site() const { return home_.path() / "site"; }

    GenerationReport run() {
        return generatePages(games_, patches_, home_.path(), "games", template_, settings_,
                             {.messages = [this](const std::string& m) { messages_.push_back(m); },
                              .progress = [this](int done, int total) { progress_.emplace_back(done, total); }});
    }

    std::string page(const std::string& name) const {
        const fs::path file = site() / files::toPath(text::StoredText::fromCp1251(name + ".htm"));
        return fs::exists(file) ? files::readFile(file) : "(none)";
    }

    std::vector<std::string> pageNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(site()))
            names.push_back(files::nameText(entry.path()).bytes());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Games named by their letter and place in the table: "a1", "a2", ...
    void addGroup(const std::string& sid, int count) {
        for (int i = 1; i <= count; ++i)
            add({.name = sid + std::to_string(i), .sid = sid});
    }

    void expectRefusedNaming(const std::vector<std::string>& named) {
        EXPECT_TRUE(run().refused);
        ASSERT_EQ(messages_.size(), 1u);
        for (const std::string& name : named)
            EXPECT_NE(messages_.front().find(name), std::string::npos) << name << " in: " << messages_.front();
        EXPECT_TRUE(pageNames().empty());
    }

    PageTemplate template_{"<$LETTER|$PAGES>", "[$Name]", "<$LETTERLIST>"};
    PageSettings settings_;
    std::vector<std::string> messages_;
    std::vector<std::pair<int, int>> progress_;
};

std::string blocks(const std::string& sid, int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "[" + sid + std::to_string(i) + "]";
    return text;
}

const std::string kLetters = "<a href=\"a.htm\">A</a>&nbsp;&nbsp;";

TEST_F(PagesGenerator, TwelveGamesFillAPageAndOneMore) {
    addGroup("a", 12);
    const GenerationReport report = run();
    EXPECT_EQ(report.pagesWritten, 2);
    const std::string links = "<a href=\"a.htm\"><b>1</b></a>&nbsp;&nbsp;<a href=\"a2.htm\"><b>2</b></a>&nbsp;&nbsp;";
    EXPECT_EQ(page("a"), "<A|<b>[1]</b>&nbsp;&nbsp;<a href=\"a2.htm\"><b>2</b></a>&nbsp;&nbsp;>" + blocks("a", 1, 11) +
                             "<" + kLetters + ">");
    EXPECT_EQ(page("a2"), "<A|<a href=\"a.htm\"><b>1</b></a>&nbsp;&nbsp;<b>[2]</b>&nbsp;&nbsp;>" +
                              blocks("a", 12, 12) + "<" + kLetters + ">");
    EXPECT_EQ(pageNames(), (std::vector<std::string>{"a.htm", "a2.htm"}));
    EXPECT_EQ(progress_, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PagesGenerator, ElevenGamesLeaveTheSecondPageEmpty) {
    addGroup("a", 11);
    run();
    EXPECT_EQ(page("a"), "<A|<b>[1]</b>&nbsp;&nbsp;<a href=\"a2.htm\"><b>2</b></a>&nbsp;&nbsp;>" + blocks("a", 1, 11) +
                             "<" + kLetters + ">");
    EXPECT_EQ(page("a2"), "<A|<a href=\"a.htm\"><b>1</b></a>&nbsp;&nbsp;<b>[2]</b>&nbsp;&nbsp;><" + kLetters + ">");
}

TEST_F(PagesGenerator, GroupsByLowerCasedSidWhereverTheyStand) {
    add({.name = "1942", .sid = "num"});
    add({.name = "Alpha", .sid = "A"});
    add({.name = "Beta", .sid = "b"});
    add({.name = "Another", .sid = "a"});
    add({.name = "\xDF\xEB\xEA\xE0", .sid = "\xDF"}); // Cyrillic Я
    settings_.gamesPerPage = 5;
    template_ = {"$LETTER:", "[$Name]", "|$LETTERLIST"};
    run();

    const std::string letters = "|<a href=\"num.htm\">#</a>&nbsp;&nbsp;" + kLetters +
                                "<a href=\"b.htm\">B</a>&nbsp;&nbsp;<a href=\"\xFF.htm\">\xDF</a>&nbsp;&nbsp;";
    EXPECT_EQ(page("num"), "NUM:[1942]" + letters);
    EXPECT_EQ(page("a"), "A:[Alpha][Another]" + letters);
    EXPECT_EQ(page("b"), "B:[Beta]" + letters);
    EXPECT_EQ(page("\xFF"), "\xDF:[\xDF\xEB\xEA\xE0]" + letters);
    EXPECT_EQ(pageNames(), (std::vector<std::string>{"a.htm", "b.htm", "num.htm", "\xFF.htm"}))
        << "a page for each set, none for ru or dejap";
}

TEST_F(PagesGenerator, PatchedGamesGetRuAndDejapPagesByTheirPositions) {
    addPatch("r.zip", "ur");
    addPatch("j.zip", "ju");
    // N deliberately not the position: the pages follow positions.
    add({.name = "Alpha", .sid = "a", .patch = 2, .number = 7});
    add({.name = "Bravo", .sid = "b", .patch = 1, .number = 7});
    add({.name = "Charlie", .sid = "c", .number = 1});
    add({.name = "Delta", .sid = "d", .patch = 1, .number = 1});
    add({.name = "Echo", .sid = "e", .patch = 5}); // beyond the table: the last patch
    template_ = {"$LETTER:", "[$Name]", ""};
    settings_.gamesPerPage = 2;
    run();
    EXPECT_EQ(page("ru"), "RU:[Bravo][Delta]");
    EXPECT_EQ(page("dejap"), "DEJAP:[Alpha][Echo]");
    EXPECT_EQ(page("ru2"), "RU:");
    EXPECT_EQ(games_.recordNumber(), 5) << "the game table stands on the last game written";
    EXPECT_EQ(patches_.recordNumber(), 2) << "the patch table stands on the last patch looked up";
}

TEST_F(PagesGenerator, WithoutPatchRecordsAPatchedGameGoesToDejap) {
    add({.name = "Alpha", .sid = "a", .patch = 1});
    add({.name = "Bravo", .sid = "b"});
    template_ = {"", "[$Name$Patch]", ""};
    run();
    EXPECT_NE(page("dejap").find("[Alpha<p><a href=\"../../patch/snes/ext/\"><img src=\"t.gif\""), std::string::npos);
    EXPECT_EQ(page("ru"), "(none)");
}

TEST_F(PagesGenerator, TwentyFivePages) {
    addGroup("z", 24);
    settings_.gamesPerPage = 1;
    template_ = {"", "[$Name]", "$PAGES"};
    run();
    EXPECT_EQ(pageNames().size(), 25u);
    const std::string last = page("z25");
    EXPECT_EQ(last.find("<br>"), last.find("<a href=\"z21.htm\">") - 4);
    EXPECT_EQ(last.find("<br>"), last.rfind("<br>"));
    EXPECT_NE(last.find("<b>[25]</b>&nbsp;&nbsp;"), std::string::npos);
    EXPECT_EQ(page("z25").substr(0, 2), "<a");
    EXPECT_EQ(page("z24").substr(0, 5), "[z24]");
}

TEST_F(PagesGenerator, RefusesWithAMessageAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(PageTemplate&, PageSettings&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"no game block", [](PageTemplate& t, PageSettings&) { t.block.clear(); }, "Открой файл сначала!"},
        {"no games per page", [](PageTemplate&, PageSettings& s) { s.gamesPerPage = 0; },
         "Описаний на страницу должно быть не меньше одного. Страницы не созданы."},
        {"negative games per page", [](PageTemplate&, PageSettings& s) { s.gamesPerPage = -3; },
         "Описаний на страницу должно быть не меньше одного. Страницы не созданы."},
    };
    addGroup("a", 2);
    for (const Case& c : cases) {
        const PageTemplate keptTemplate = template_;
        const PageSettings keptSettings = settings_;
        messages_.clear();
        c.change(template_, settings_);
        EXPECT_TRUE(run().refused) << c.what;
        EXPECT_EQ(messages_, std::vector<std::string>{c.message}) << c.what;
        EXPECT_TRUE(pageNames().empty()) << c.what;
        template_ = keptTemplate;
        settings_ = keptSettings;
    }
}

// A page name two sets would take refuses the run before any page is
// written, the message naming the page and both sets.
TEST_F(PagesGenerator, PageTwoOfAGroupIsThePageOfAnotherGroup) {
    addGroup("a", 12);
    addGroup("a2", 1);
    expectRefusedNaming({"«a2.htm»", "«a»", "«a2»"});
}

TEST_F(PagesGenerator, PageTwelveOfAGroupIsPageTwoOfAnother) {
    settings_.gamesPerPage = 1;
    addGroup("a", 11);
    addGroup("a1", 1);
    expectRefusedNaming({"«a12.htm»", "«a»", "«a1»"});
}

TEST_F(PagesGenerator, AGroupKeyedRuClashesWithTheRussianTranslations) {
    addPatch("r.zip", "ur");
    add({.name = "Alpha", .sid = "a", .patch = 1});
    add({.name = "Ruby", .sid = "RU"});
    expectRefusedNaming({"«ru.htm»", "группа «ru»", "русских переводов"});
}

TEST_F(PagesGenerator, AnEmptyGameTableIsRefused) {
    EXPECT_TRUE(run().refused);
    EXPECT_EQ(messages_, std::vector<std::string>{"В базе нет ни одной игры. Страницы не созданы."});
    EXPECT_TRUE(pageNames().empty());
}

TEST_F(PagesGenerator, OutputFolderForms) {
    addGroup("a", 1);
    const std::string home = home_.path().string();
    for (const std::string& typed : {home + "/site", home + "\\site\\", home + "/site/"}) {
        fs::remove_all(site());
        fs::create_directory(site());
        settings_.outputFolder = files::Path(typed);
        run();
        EXPECT_EQ(pageNames(), std::vector<std::string>{"a.htm"}) << typed;
    }
    settings_.outputFolder = home_.path() / "nowhere" / "";
    try {
        run();
        FAIL() << "a missing folder is an error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(home + "/nowhere/"), std::string::npos) << error.what();
    }
}

TEST_F(PagesGenerator, AKeyThatWouldLeaveTheFolderIsAnError) {
    add({.name = "Up", .sid = "../"});
    EXPECT_THROW(run(), Error);
    EXPECT_TRUE(pageNames().empty());
    EXPECT_FALSE(fs::exists(home_.path() / ".htm"));
}

TEST_F(PagesGenerator, UnchangedPagesAreNotRewritten) {
    addGroup("a", 3);
    addGroup("b", 1);
    settings_.gamesPerPage = 2;
    EXPECT_EQ(run().pagesWritten, 3);

    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const char* name : {"a.htm", "a2.htm", "b.htm"})
        fs::last_write_time(site() / name, old);
    games_.first();
    games_.edit();
    games_.fieldByName("Name").setAsString("a0"_stored);
    games_.post();

    const GenerationReport report = run();
    EXPECT_EQ(report.pagesWritten, 1);
    EXPECT_EQ(report.pagesUnchanged, 2);
    EXPECT_NE(fs::last_write_time(site() / "a.htm"), old);
    for (const char* name : {"a2.htm", "b.htm"})
        EXPECT_EQ(fs::last_write_time(site() / name), old) << name;
    EXPECT_NE(page("a").find("[a0][a2]<"), std::string::npos);
    EXPECT_EQ(pageNames().size(), 3u) << "no temporary file left behind";
}

TEST_F(PagesGenerator, AFileInOtherLetterCaseIsTheOneReplaced) {
    addGroup("a", 1);
    std::ofstream(site() / "A.HTM") << "old";
    run();
    EXPECT_EQ(pageNames(), std::vector<std::string>{"A.HTM"});
    EXPECT_NE(files::readFile(site() / "A.HTM"), "old");
}

// A killed run leaves its temporary files; the next run removes them and
// nothing else of the folder.
TEST_F(PagesGenerator, TemporariesOfAKilledRunAreRemoved) {
    addGroup("a", 1);
    for (const char* name : {"g18.htm.gamarium-tmp-95a576", "notes.txt", "g18.htm.tmp954576"})
        std::ofstream(site() / name) << "left";
    run();
    EXPECT_EQ(pageNames(), (std::vector<std::string>{"a.htm", "g18.htm.tmp954576", "notes.txt"}));
}

TEST_F(PagesGenerator, ARewrittenPageKeepsItsMode) {
    addGroup("a", 1);
    std::ofstream(site() / "a.htm") << "old";
    fs::permissions(site() / "a.htm", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(run().pagesWritten, 1);
    EXPECT_NE(page("a"), "old");
    EXPECT_EQ(fs::status(site() / "a.htm").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(PagesGenerator, AnOutputFolderNamedBeyondTheCodePage) {
    addGroup("a", 1);
    const fs::path cafe = home_.path() / u8"Café" / u8"日本";
    fs::create_directories(cafe);
    settings_.outputFolder = cafe;
    EXPECT_EQ(run().pagesWritten, 1);
    EXPECT_TRUE(fs::exists(cafe / "a.htm"));
}

TEST_F(PagesGenerator, AnalogMessagesReachTheSink) {
    add({.name = "Alpha", .sid = "a"});
    games_.first();
    games_.edit();
    games_.fieldByName("Analog").setAsString("Alpha (x);Beta (q)"_stored);
    games_.post();
    run();
    EXPECT_EQ(messages_, (std::vector<std::string>{"!!!!!!!!!!!!!", "!!!!!!!!!!!!!"}));
}

TEST(PagesSettings, GamesPerPageFromText) {
    EXPECT_EQ(gamesPerPageFromText("11"), 11);
    EXPECT_EQ(gamesPerPageFromText("+7"), 7);
    EXPECT_EQ(gamesPerPageFromText("-1"), -1);
    for (const char* bad : {"", "abc", "1 1", "11 ", "99999999999"})
        EXPECT_THROW(gamesPerPageFromText(bad), Error) << bad;
}

} // namespace
} // namespace gamarium::pages
