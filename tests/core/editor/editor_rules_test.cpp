#include "core/editor/classification.h"
#include "core/editor/next_game.h"
#include "core/editor/picture_slots.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

namespace gamarium::editor {
namespace {

TEST(Classification, ListsAsTheEditorOffersThem) {
    ASSERT_EQ(typeList().size(), 30u);
    EXPECT_EQ(typeList()[8], "Puzzle/Tetris ");
    EXPECT_EQ(typeList()[15], "");
    EXPECT_EQ(typeList()[25], "");
    EXPECT_EQ(typeList()[29], "Service Program");
    struct Case {
        const char* type;
        std::size_t count;
        const char* first;
    };
    const Case cases[] = {{"Sport", 19, "Baseball"},        {"Board Game", 7, "Chess"},
                          {"Race/Driving", 5, "Circular"},  {"Simulation", 3, "Business"},
                          {"Casino/Cards", 3, "Cards---"},  {"sport", 30, "Action/Reflex"},
                          {"", 30, "Action/Reflex"},        {"Platform", 30, "Action/Reflex"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(genreListFor(c.type).size(), c.count);
        EXPECT_EQ(genreListFor(c.type).front(), c.first);
    }
    EXPECT_EQ(genreListFor("Sport")[8], "");
    EXPECT_EQ(themeList().size(), 9u);
    EXPECT_EQ(themeList()[7], "");
    EXPECT_EQ(withTheme("Platform", "Fantasy"), "Platform, Fantasy");
    EXPECT_EQ(withTheme("", "Horror"), "Horror");
    EXPECT_EQ(withTheme("RPG", ""), "RPG, ");
}

TEST(PictureSlots, NamesAndSlots) {
    EXPECT_EQ(minus("Castlevania: Dracula's Curse"), "Castlevania_Draculas_Curse");
    EXPECT_EQ(minus(""), "");
    EXPECT_EQ(minus("a'[!]\",<>;:/\\`~@#$%^&*()b"), "ab");
    EXPECT_EQ(minus("Mega Man 2.-x_y{z}=+?"), "Mega_Man_2.-x_y{z}=+?");
    struct Case {
        const char* control;
        int field;
    };
    const Case cases[] = {{"EditImage", 1}, {"Button1", 1}, {"EditImage2", 2}, {"Button5", 5},
                          {"EditImage5", 5}, {"Button6", 0}, {"", 0}};
    for (const Case& c : cases) EXPECT_EQ(pictureFieldOf(slotOf(c.control)), c.field) << c.control;
    EXPECT_NE(slotOf("EditImage"), slotOf("Button1")) << "both mean Image1, yet differ";
    EXPECT_EQ(pictureField(3), store::games::Image3);
}

class NextGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "g.db", store::gameTableSchema());
        games_.open();
    }
    std::string text(const char* field) { return games_.fieldByName(field).asString().bytes(); }

    gamarium::testing::TempFolder folder_;
    store::Table games_{folder_.path(), "g.db"};
};

TEST_F(NextGameTest, FollowsTheLastRecordWhicheverIsCurrent) {
    for (const auto& [n, sid, region] : {std::tuple{1, "a", "U"}, std::tuple{7, "num", "J"}}) {
        games_.append();
        games_.fieldByName("N").setAsInteger(n);
        games_.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(sid));
        games_.fieldByName("Region").setAsString(text::StoredText::fromCp1251(region));
        games_.post();
    }
    games_.first();
    games_.edit();
    games_.fieldByName("Name").setAsString("kept"_stored);
    appendNextGame(games_);
    EXPECT_EQ(games_.state(), store::TableState::Insert);
    EXPECT_EQ(text("N"), "8");
    EXPECT_EQ(text("Sid"), "num");
    EXPECT_EQ(text("Region"), "J");
    EXPECT_EQ(text("Ngamers"), "1");
    EXPECT_EQ(text("Name"), "");
    games_.post();
    EXPECT_EQ(games_.recordCount(), 3);
    games_.first();
    EXPECT_EQ(text("Name"), "kept") << "the record current before was saved";
}

TEST_F(NextGameTest, OnAnEmptyTableWritesAnEmptyRecordFirst) {
    appendNextGame(games_);
    EXPECT_EQ(text("N"), "1");
    EXPECT_EQ(text("Sid"), "");
    EXPECT_EQ(text("Ngamers"), "1");
    games_.post();
    EXPECT_EQ(games_.recordCount(), 2);
}

} // namespace
} // namespace gamarium::editor
