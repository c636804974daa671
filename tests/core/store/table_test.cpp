#include "core/error.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace gamarium::store {
namespace {

using gamarium::testing::TempFolder;

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        Table::create(folder_.path(), "games.db", gameTableSchema());
        table_.open();
    }

    // Appends records whose Name fields are the given texts.
    void fill(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            table_.append();
            table_.fieldByName("Name").setAsString(text::StoredText::fromCp1251(name));
            table_.post();
        }
    }

    // The Name fields in table order; the cursor comes back to where it was.
    std::vector<std::string> names() {
        const int position = table_.recordNumber();
        std::vector<std::string> out;
        for (table_.first(); !table_.isEmpty() && !table_.eof(); table_.next())
            out.push_back(table_.fieldByName("Name").asString().bytes());
        table_.first();
        if (position > 1) table_.moveBy(position - 1);
        return out;
    }

    std::string currentName() { return table_.fieldByName("Name").asString().bytes(); }

    TempFolder folder_;
    Table table_{folder_.path(), "games.db"};
};

using Names = std::vector<std::string>;

// One step of a cursor scenario: what is done, then where the cursor stands,
// in which state, and the table's names (checked in browse state).
struct Step {
    const char* what;
    std::function<void(Table&)> action;
    int recordNumber;
    TableState state;
    Names names;
};

TEST_F(TableTest, CursorOperationsKeepPositionOrder) {
    fill({"A", "B", "C", "D"});
    auto setName = [](const char* name) { return [name](Table& t) { t.fieldByName("Name").setAsString(text::StoredText::fromCp1251(name)); }; };
    const Step steps[] = {
        {"first", [](Table& t) { t.first(); }, 1, TableState::Browse, {"A", "B", "C", "D"}},
        {"next", [](Table& t) { t.next(); }, 2, TableState::Browse, {"A", "B", "C", "D"}},
        {"insert before B", [](Table& t) { t.insert(); }, 2, TableState::Insert, {}},
        {"name it", setName("A2"), 2, TableState::Insert, {}},
        {"post", [](Table& t) { t.post(); }, 2, TableState::Browse, {"A", "A2", "B", "C", "D"}},
        {"move by 10 stops at the last", [](Table& t) { EXPECT_EQ(t.moveBy(10), 3); }, 5, TableState::Browse, {"A", "A2", "B", "C", "D"}},
        {"delete the last", [](Table& t) { t.remove(); }, 4, TableState::Browse, {"A", "A2", "B", "C"}},
        {"move by -10 stops at the first", [](Table& t) { EXPECT_EQ(t.moveBy(-10), -3); }, 1, TableState::Browse, {"A", "A2", "B", "C"}},
        {"delete the first", [](Table& t) { t.remove(); }, 1, TableState::Browse, {"A2", "B", "C"}},
        {"edit", [](Table& t) { t.edit(); }, 1, TableState::Edit, {}},
        {"change", setName("X"), 1, TableState::Edit, {}},
        {"next posts the change", [](Table& t) { t.next(); }, 2, TableState::Browse, {"X", "B", "C"}},
        {"insert", [](Table& t) { t.insert(); }, 2, TableState::Insert, {}},
        {"an unchanged new record is dropped by a move", [](Table& t) { t.last(); }, 3, TableState::Browse, {"X", "B", "C"}},
        {"append", [](Table& t) { t.append(); }, 4, TableState::Insert, {}},
        {"name it", setName("Z"), 4, TableState::Insert, {}},
        {"first posts it", [](Table& t) { t.first(); }, 1, TableState::Browse, {"X", "B", "C", "Z"}},
        {"edit, then delete removes the record", [](Table& t) { t.edit(); t.remove(); }, 1, TableState::Browse, {"B", "C", "Z"}},
        {"insert, then delete drops the new record", [](Table& t) { t.insert(); t.remove(); }, 1, TableState::Browse, {"B", "C", "Z"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.action(table_);
        EXPECT_EQ(table_.recordNumber(), step.recordNumber);
        EXPECT_EQ(table_.state(), step.state);
        if (step.state == TableState::Browse) {
            EXPECT_EQ(names(), step.names);
            EXPECT_EQ(table_.recordCount(), static_cast<int>(step.names.size()));
        }
    }
}

TEST_F(TableTest, EndsOfTheTableSetBofAndEof) {
    fill({"A", "B"});
    table_.first();
    EXPECT_TRUE(table_.bof());
    EXPECT_FALSE(table_.eof());
    table_.next();
    EXPECT_FALSE(table_.bof());
    EXPECT_FALSE(table_.eof());
    table_.next();
    EXPECT_TRUE(table_.eof());
    EXPECT_EQ(currentName(), "B");
    table_.prior();
    table_.prior();
    EXPECT_TRUE(table_.bof());
    EXPECT_EQ(currentName(), "A");

    // Going to position 1 is "first, then move by 0": the ends stay marked.
    table_.first();
    EXPECT_EQ(table_.moveBy(0), 0);
    EXPECT_TRUE(table_.bof());
    table_.last();
    EXPECT_EQ(table_.moveBy(0), 0);
    EXPECT_TRUE(table_.eof());
}

TEST_F(TableTest, EmptyTable) {
    EXPECT_EQ(table_.recordCount(), 0);
    EXPECT_EQ(table_.recordNumber(), 0);
    EXPECT_TRUE(table_.bof());
    EXPECT_TRUE(table_.eof());
    EXPECT_EQ(currentName(), "");
    EXPECT_EQ(table_.moveBy(3), 0);
    try {
        table_.remove();
        FAIL() << "delete on an empty table";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation on an empty dataset");
    }
    // Edit on an empty table starts a new record.
    table_.edit();
    EXPECT_EQ(table_.state(), TableState::Insert);
    table_.fieldByName("N").setAsInteger(1);
    table_.post();
    EXPECT_EQ(table_.recordCount(), 1);
}

TEST_F(TableTest, FieldRulesAndMessages) {
    struct Case {
        const char* field;
        std::string written;
        std::string read;    // as text after writing, when accepted
        std::string error;   // the message, when refused
    };
    const Case cases[] = {
        {"Sid", "abcdef", "abc", ""},
        {"Name", std::string(100, 'x'), std::string(80, 'x'), ""},
        {"Name", "", "", ""},
        {"Text1", std::string(5000, 'm') + "\r\nend", std::string(5000, 'm') + "\r\nend", ""},
        {"Year", "1991", "1991", ""},
        {"Year", "", "", ""},
        {"Year", "-5", "-5", ""},
        {"Year", "19x1", "", "'19x1' is not a valid integer value for field 'Year'"},
        {"Year", "3000000000", "", "3000000000 is not a valid value for field 'Year'. The allowed range is -2147483648 to 2147483647"},
        {"Year", "-99999999999999999999", "", "-99999999999999999999 is not a valid value for field 'Year'. The allowed range is -2147483648 to 2147483647"},
        {"Year", "0x10", "", "'0x10' is not a valid integer value for field 'Year'"},
        {"Size", "40000", "", "40000 is not a valid value for field 'Size'. The allowed range is -32768 to 32767"},
        {"N", "-32768", "-32768", ""},
        {"Rating", "2147483647", "2147483647", ""},
    };
    fill({"seed"});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.written.substr(0, 20));
        table_.edit();
        table_.fieldByName(c.field).setAsString(""_stored);
        try {
            table_.fieldByName(c.field).setAsString(text::StoredText::fromCp1251(c.written));
            EXPECT_EQ(c.error, "");
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), c.error);
        }
        table_.post();
        table_.close();
        table_.open();
        if (c.error.empty()) {
            EXPECT_EQ(table_.fieldByName(c.field).asString().bytes(), c.read);
        }
    }
}

TEST_F(TableTest, NullsReadAsEmptyTextOrZero) {
    fill({""});
    EXPECT_TRUE(table_.fieldByName("Year").isNull());
    EXPECT_EQ(table_.fieldByName("Year").asString().bytes(), "");
    EXPECT_EQ(table_.fieldByName("Year").asInteger(), 0);
    EXPECT_TRUE(table_.fieldByName("Name").isNull());
    table_.edit();
    try {
        table_.fieldByName("N").setAsInteger(70000);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "70000 is not a valid value for field 'N'. The allowed range is -32768 to 32767");
    }
}

TEST_F(TableTest, MisuseGivesTheLayerMessages) {
    fill({"A"});
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Field 'Nope' not found", [&] { table_.fieldByName("Nope"); }},
        {"Dataset not in edit or insert mode", [&] { table_.post(); }},
        {"Dataset not in edit or insert mode", [&] { table_.fieldByName("Name").setAsString("x"_stored); }},
    };
    for (const auto& [message, action] : cases) {
        try {
            action();
            ADD_FAILURE() << message;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
    EXPECT_EQ(&table_.fieldByName("name"), &table_.field(2)); // names ignore case
    EXPECT_EQ(table_.fieldCount(), 27);
}

TEST_F(TableTest, CloseDropsAnUnpostedChange) {
    fill({"A"});
    table_.edit();
    table_.fieldByName("Name").setAsString("changed"_stored);
    table_.close();
    table_.open();
    EXPECT_EQ(currentName(), "A");
}

TEST_F(TableTest, ManyInsertsAtOnePlaceKeepTheirOrder) {
    // Each insert goes before the one made just before it, so the gap between
    // two keys is used up again and again and has to be spread out.
    fill({"first", "last"});
    table_.last();
    for (int i = 0; i < 200; ++i) {
        table_.insert();
        table_.fieldByName("N").setAsInteger(i);
        table_.post();
    }
    table_.close();
    table_.open();
    ASSERT_EQ(table_.recordCount(), 202);
    EXPECT_EQ(currentName(), "first");
    for (int i = 199; i >= 0; --i) {
        table_.next();
        ASSERT_EQ(table_.fieldByName("N").asInteger(), i);
    }
    table_.next();
    EXPECT_EQ(currentName(), "last");
}

TEST_F(TableTest, OneTransactionStoresAllOrNothing) {
    fill({"A"});
    EXPECT_THROW(table_.runAsOneTransaction([&] {
        fill({"B", "C"});
        table_.append();
        table_.fieldByName("Year").setAsString("bad"_stored);
    }),
                 Error);
    EXPECT_EQ(names(), Names{"A"});
    table_.runAsOneTransaction([&] { fill({"B", "C"}); });
    table_.close();
    table_.open();
    EXPECT_EQ(names(), (Names{"A", "B", "C"}));
}

TEST_F(TableTest, APassOverEveryRecordFollowsPositionsAndLeavesTheCursor) {
    fill({"B", "D"});
    table_.first();
    table_.insert(); // stored after the others, placed first
    table_.fieldByName("Name").setAsString("A"_stored);
    table_.fieldByName("Year").setAsInteger(1990);
    table_.post();
    table_.last();
    table_.insert();
    table_.fieldByName("Name").setAsString("C"_stored); // pending: posted by the pass
    int heard = 0;
    const int id = table_.addChangeListener([&](const ChangeEvent&) { ++heard; });

    std::vector<std::pair<std::size_t, std::string>> visited;
    table_.forEachRecord({FieldKey{"name"}}, [&](std::size_t position) {
        visited.emplace_back(position, currentName());
        EXPECT_TRUE(table_.fieldByName("Year").isNull()) << "a field not asked for is not read";
    });
    EXPECT_EQ(visited, (std::vector<std::pair<std::size_t, std::string>>{{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}}));
    EXPECT_EQ(table_.recordNumber(), 3);
    EXPECT_EQ(currentName(), "C");
    EXPECT_EQ(table_.state(), TableState::Browse);
    table_.removeChangeListener(id);
    EXPECT_EQ(heard, 1) << "only the post of the pending record is heard";

    EXPECT_THROW(table_.forEachRecord({games::Name}, [&](std::size_t position) {
        if (position == 1) throw Error("stop");
    }),
                 Error);
    EXPECT_EQ(currentName(), "C") << "an interrupted pass leaves the cursor too";
}

// Listeners hear what happened, one event per thing, with the record's
// identity and its position at that moment (a move that saves the change
// under way is heard as the save, then the move); a tool's many changes
// end with one Reloaded, or one Moved when nothing was stored.
TEST_F(TableTest, ListenersHearWhatHappenedToWhichRecord) {
    fill({"A", "B"});
    table_.first();
    const RecordId a = table_.recordId();
    table_.next();
    const RecordId b = table_.recordId();
    const auto nameOf = [&](RecordId id) { return id == a ? "A" : id == b ? "B" : id == 0 ? "-" : "new"; };
    std::vector<std::string> heard;
    const int id = table_.addChangeListener([&](const ChangeEvent& event) {
        static const char* const kinds[] = {"Opened", "Reloaded", "Closed", "Moved", "Began",
                                            "ValueWritten", "Cancelled", "Saved", "Inserted", "Deleted"};
        std::string line = std::string(kinds[static_cast<int>(event.kind)]) + " " + nameOf(event.record) + "@" +
                           std::to_string(event.position);
        if (event.field) line += " " + event.field->name();
        if (table_.changingMany()) line += " (many)";
        heard.push_back(line);
    });
    using Heard = std::vector<std::string>;
    const std::pair<std::function<void()>, Heard> cases[] = {
        {[&] { table_.first(); }, {"Moved A@1"}},
        {[&] { table_.prior(); }, {}},
        {[&] {
             table_.edit();
             table_.fieldByName("Year").setAsInteger(1990);
             table_.next();
         },
         {"Began A@1", "ValueWritten A@1 Year", "Saved A@1", "Moved B@2"}},
        {[&] {
             table_.edit();
             table_.moveBy(0);
         },
         {"Began B@2", "Cancelled B@2"}},
        {[&] {
             table_.insert();
             table_.post({{"Name", "Ab"_stored}});
         },
         {"Began -@2", "ValueWritten -@2 Name", "Inserted new@2"}},
        {[&] { table_.remove(); }, {"Deleted new@2"}},
        {[&] { table_.remove(); }, {"Deleted B@2"}},
        {[&] {
             table_.runAsOneTransaction([&] {
                 table_.edit();
                 table_.post({{"Year", "1991"_stored}});
             });
         },
         {"Began A@1 (many)", "ValueWritten A@1 Year (many)", "Saved A@1 (many)", "Reloaded A@1"}},
        {[&] {
             const Table::ManyChanges many(table_);
             table_.last();
             table_.first();
         },
         {"Moved A@1 (many)", "Moved A@1 (many)", "Moved A@1"}},
        {[&] {
             table_.close();
             table_.open();
         },
         {"Closed -@0", "Opened A@1"}},
    };
    for (const auto& [operation, expected] : cases) {
        heard.clear();
        operation();
        EXPECT_EQ(heard, expected);
    }
    EXPECT_TRUE(table_.moveToRecord(a));
    EXPECT_FALSE(table_.moveToRecord(b)) << "a deleted record is not found again";
    table_.removeChangeListener(id);
    EXPECT_EQ(names(), (Names{"A"}));

    // A listener only reads: a change it tries is refused, and the table stays.
    table_.edit();
    const int writer = table_.addChangeListener([&](const ChangeEvent&) { table_.fieldByName("Name").setAsString("Z"_stored); });
    EXPECT_THROW(table_.fieldByName("Name").setAsString("W"_stored), std::logic_error);
    table_.removeChangeListener(writer);
    const int mover = table_.addChangeListener([&](const ChangeEvent&) { table_.next(); });
    EXPECT_THROW(table_.cancel(), std::logic_error);
    table_.removeChangeListener(mover);
    EXPECT_EQ(table_.state(), TableState::Browse);
    EXPECT_EQ(currentName(), "A");
}

// A value a field refuses stops the post: nothing is written and the
// change stays under way with the values set before it.
TEST_F(TableTest, PostWithValuesStopsAtARefusedValue) {
    fill({"A"});
    table_.edit();
    EXPECT_THROW(table_.post({{"Name", "B"_stored}, {"Year", "19x1"_stored}, {"Sid", "b"_stored}}), Error);
    EXPECT_EQ(table_.state(), TableState::Edit);
    EXPECT_EQ(currentName(), "B");
    EXPECT_EQ(table_.fieldByName("Sid").asString().bytes(), "");
    table_.cancel();
    EXPECT_EQ(names(), Names{"A"});
}

TEST(TableSchemas, MatchTheStoredTables) {
    TempFolder folder;
    for (const TableSchema* schema : {&gameTableSchema(), &patchTableSchema()}) {
        Table::create(folder.path(), "t.db", *schema);
        Table table(folder.path(), "t.db");
        table.open();
        ASSERT_EQ(table.fieldCount(), static_cast<int>(schema->fields.size()));
        for (int i = 0; i < table.fieldCount(); ++i) {
            EXPECT_EQ(table.field(i).name(), schema->fields[static_cast<std::size_t>(i)].name);
            EXPECT_EQ(table.field(i).type(), schema->fields[static_cast<std::size_t>(i)].type);
            EXPECT_EQ(table.field(i).size(), schema->fields[static_cast<std::size_t>(i)].size);
        }
    }
    const auto& game = gameTableSchema().fields;
    ASSERT_EQ(game.size(), 27u);
    EXPECT_EQ(game.front().name, "N");
    EXPECT_TRUE(game.front().required);
    EXPECT_EQ(game[1].name, "Sid");
    EXPECT_EQ(game[1].size, 3);
    EXPECT_EQ(game[17].name, "Text1");
    EXPECT_EQ(game[17].type, FieldType::Memo);
    EXPECT_EQ(game.back().name, "Patch");
    const auto& patch = patchTableSchema().fields;
    ASSERT_EQ(patch.size(), 7u);
    EXPECT_EQ(patch[4].name, "Text");
    EXPECT_EQ(patch[4].size, 2);
    EXPECT_EQ(patch[6].type, FieldType::SmallInt);
}

} // namespace
} // namespace gamarium::store
