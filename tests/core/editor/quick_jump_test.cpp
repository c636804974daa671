#include "core/editor/quick_jump.h"
#include "core/error.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

namespace gamarium::editor {
namespace {

class QuickJumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "g.db", store::gameTableSchema());
        games_.open();
    }
    // Games in name order, N = position unless given.
    void fill(const std::vector<std::string>& names, const std::vector<int>& numbers = {}) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            games_.append();
            games_.fieldByName("N").setAsInteger(numbers.empty() ? static_cast<int>(i) + 1 : numbers[i]);
            games_.fieldByName("Name").setAsString(text::StoredText::fromCp1251(names[i]));
            games_.post();
        }
        games_.first();
    }
    std::string current() { return games_.fieldByName("Name").asString().bytes(); }

    gamarium::testing::TempFolder folder_;
    store::Table games_{folder_.path(), "g.db"};
};

TEST(NameComparison, CodePageLowerCaseAndUnsignedBytes) {
    struct Case {
        const char* text; // lower case already
        const char* name;
        int sign;
    };
    const Case cases[] = {
        {"con", "Contra", 0},          {"con", "CONTRA FORCE", 0},      {"contra", "Con", 1},
        {"b", "Adventure", 1},         {"a", "Battletoads", -1},        {"", "Anything", 0},
        {"\xEC\xE0", "\xCC\xC0\xD0\xC8\xCE", 0}, // "ма" finds "МАРИО"
        {"\xB8", "\xA8\xEB\xEA\xE0", 0},          // "ё" finds "Ёлка"
        {"z", "\xC0", -1},                         // Latin before Cyrillic: unsigned bytes
        {"\xE0", "z", 1},
    };
    for (const Case& c : cases) {
        const int result = compareWithName(c.text, c.name);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.text << " / " << c.name;
    }
}

TEST_F(QuickJumpTest, FindsTheFirstNameStartingWithTheText) {
    fill({"Adventure Island", "Battletoads", "Contra", "Contra Force", "Double Dragon", "Duck Tales", "Excitebike",
          "Felix", "Gradius", "Mario", "Mega Man", "Metroid", "Ninja Gaiden", "Tetris", "Zelda"});
    struct Case {
        int from;          // the current record's position
        const char* text;
        const char* found;
    };
    const Case cases[] = {
        {1, "contra", "Contra"},        {1, "CONTRA F", "Contra Force"}, {1, "me", "Mega Man"},
        {1, "met", "Metroid"},          {15, "du", "Duck Tales"},         {12, "b", "Battletoads"},
        {1, "zzz", "Zelda"},            {15, "a", "Adventure Island"},    {15, "0", "Adventure Island"},
        {3, "Mario", "Mario"},          {10, "Mario", "Mario"},           {1, "Duck Z", "Excitebike"},
    };
    for (const Case& c : cases) {
        games_.moveToPosition(c.from);
        findname(games_, c.text);
        EXPECT_EQ(current(), c.found) << "from " << c.from << " for " << c.text;
    }
}

TEST_F(QuickJumpTest, ReadsFewRecordsOnALargeTable) {
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) names.push_back("Game " + std::string(1, static_cast<char>('a' + i / 400)) +
                                                   std::to_string(10000 + i));
    fill(names);
    const std::uint64_t before = games_.recordsRead();
    findname(games_, "game f10");
    EXPECT_EQ(current(), "Game f12000");
    EXPECT_LE(games_.recordsRead() - before, 40u);
}

TEST_F(QuickJumpTest, NumbersArePositionsAndOtherTextsNames) {
    fill({"Adventure", "Battletoads", "Contra", "17 Moves"});
    struct Case {
        const char* text;
        const char* found;
    };
    const Case cases[] = {{"0", "Adventure"}, {"1", "Adventure"}, {"3", "Contra"}, {"99", "17 Moves"},
                          {"0003", "Contra"}, {"12a", "Adventure"}, {" 5", "Adventure"}, {"-3", "Adventure"},
                          {"b", "Battletoads"}};
    for (const Case& c : cases) {
        games_.moveToPosition(2);
        quickJump(games_, c.text);
        EXPECT_EQ(current(), c.found) << c.text;
    }
    for (const char* bad : {"", "4294967296", "2147483648"}) {
        games_.moveToPosition(3);
        try {
            quickJump(games_, bad);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
        EXPECT_EQ(current(), "Adventure") << "left on the first record";
    }
}

} // namespace
} // namespace gamarium::editor
