#include "core/error.h"
#include "core/patches/patch_rules.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace gamarium::patches {
namespace {

TEST(NextPatchNumber, WrapsTheLastNAsSixteenBitsUnsigned) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {0, 1}, {1, 2}, {41, 42}, {32767, 32768}, {-1, 65536}, {-32768, 32769}, {65535, 65536}, {65536, 1},
    };
    for (const auto& [last, next] : cases) EXPECT_EQ(nextPatchNumber(last), next) << last;
}

class PatchRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "p_patch.db", store::patchTableSchema());
        patches_.open();
    }
    // Records with these N (nullopt: N left empty) and Patch "p<position>".
    void add(const std::vector<std::optional<int>>& numbers) {
        for (const std::optional<int>& n : numbers) {
            patches_.append();
            if (n) patches_.fieldByName("N").setAsInteger(*n);
            patches_.fieldByName("Patch").setAsString(text::StoredText::fromCp1251("p" + std::to_string(patches_.recordCount() + 1)));
            patches_.post();
        }
        patches_.first();
    }
    std::string text(const char* field) { return patches_.fieldByName(field).asString().bytes(); }

    gamarium::testing::TempFolder folder_;
    store::Table patches_{folder_.path(), "p_patch.db"};
};

TEST_F(PatchRulesTest, PlusWritesTheCurrentRecordAndBeginsOneAfterTheLast) {
    struct Case {
        std::vector<std::optional<int>> numbers;
        const char* begunN;
        int written; // records in the table while the new one is begun
    };
    const Case cases[] = {
        {{}, "1", 1},                  // a blank record is written first
        {{1, 2, 3}, "4", 3},
        {{5, std::nullopt}, "1", 2},   // an empty N reads 0
        {{9, -1}, "", 2},              // -1 wraps to 65535: refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begunN);
        patches_.close();
        store::Table::empty(folder_.path(), "p_patch.db");
        patches_.open();
        add(c.numbers);
        try {
            appendNextPatch(patches_);
        } catch (const Error&) {
        }
        EXPECT_EQ(patches_.state(), store::TableState::Insert);
        EXPECT_EQ(text("N"), c.begunN);
        EXPECT_EQ(text("Patch"), "") << "only N is filled in";
        EXPECT_EQ(patches_.recordCount(), c.written);
        patches_.post();
        EXPECT_EQ(patches_.recordCount(), c.written + 1);
        EXPECT_EQ(patches_.recordNumber(), c.written + 1);
    }
}

TEST_F(PatchRulesTest, PlusKeepsAChangeToAnEarlierRecord) {
    add({1, 2});
    patches_.edit();
    patches_.fieldByName("Autor").setAsString("kept"_stored);
    appendNextPatch(patches_);
    EXPECT_EQ(text("N"), "3");
    patches_.cancel();
    patches_.first();
    EXPECT_EQ(text("Autor"), "kept");
}

TEST_F(PatchRulesTest, PlusAfterTheLargestNGivesTheRangeErrorAndLeavesNEmpty) {
    add({32767});
    try {
        appendNextPatch(patches_);
        FAIL() << "N 32768 accepted";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "32768 is not a valid value for field 'N'. The allowed range is -32768 to 32767");
    }
    EXPECT_EQ(patches_.state(), store::TableState::Insert);
    EXPECT_TRUE(patches_.fieldByName("N").isNull());
    EXPECT_EQ(patches_.recordCount(), 1);
}

TEST_F(PatchRulesTest, WritingTheCurrentRecord) {
    writeCurrentPatch(patches_);
    EXPECT_EQ(patches_.recordCount(), 1) << "a blank record on an empty table";
    EXPECT_TRUE(patches_.fieldByName("N").isNull());
    add({7});
    patches_.last();
    writeCurrentPatch(patches_);
    EXPECT_EQ(patches_.state(), store::TableState::Browse);
    EXPECT_EQ(patches_.recordCount(), 2) << "an unchanged record is rewritten, not added";
    EXPECT_EQ(text("N"), "7");
}

TEST_F(PatchRulesTest, LinkCountsRecordsFromOneAndStopsAtTheEnds) {
    goToLinkedPatch(patches_, 2);
    EXPECT_EQ(patches_.recordNumber(), 0) << "an empty table has nothing to go to";
    add({10, 20, 30});
    const std::pair<std::int64_t, int> cases[] = {
        {3, 3}, {2, 2}, {1, 1}, {0, 1}, {-7, 1}, {4, 3}, {2147483647, 3}, {-2147483648LL, 1}, {1LL << 40, 3},
    };
    for (const auto& [link, position] : cases) {
        patches_.last();
        goToLinkedPatch(patches_, link);
        EXPECT_EQ(patches_.recordNumber(), position) << link;
    }
}

TEST_F(PatchRulesTest, LinkWritesAPendingChangeFirst) {
    add({10, 20});
    patches_.last();
    patches_.edit();
    patches_.fieldByName("Year").setAsInteger(1994);
    goToLinkedPatch(patches_, 1);
    EXPECT_EQ(patches_.state(), store::TableState::Browse);
    patches_.last();
    EXPECT_EQ(text("Year"), "1994");
}

} // namespace
} // namespace gamarium::patches
