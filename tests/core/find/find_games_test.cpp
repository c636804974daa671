#include "core/find/find_games.h"
#include "core/find/game_texts.h"
#include "core/find/table_search.h"
#include "core/store/schema.h"
#include "core/store/sqlite.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace gamarium::find {
namespace {

std::string cp(const char* utf8) {
    return text::fromUtf8(utf8).bytes();
}

using Fields = std::map<std::string, std::string>; // field name -> UTF-8 text

class FindGamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "g.db", store::gameTableSchema());
        games_.open();
    }
    void write(const Fields& fields) {
        for (const auto& [name, value] : fields) games_.fieldByName(name).setAsString(text::fromUtf8(value));
        games_.post();
    }
    void append(const Fields& fields) {
        games_.append();
        write(fields);
    }
    // "POSITION FIELD" of each match. A search made once straight through
    // the table must find and describe the same.
    std::vector<std::string> found(const char* utf8, FieldSet fields = FieldSet::all(), bool wholeWord = false) {
        return foundCp1251(cp(utf8), fields, wholeWord);
    }
    std::vector<std::string> foundCp1251(const std::string& text, FieldSet fields = FieldSet::all(),
                                         bool wholeWord = false) {
        std::vector<std::string> lines, described, once;
        const auto list = texts_.snapshot();
        const FindQuery query{text::StoredText::fromCp1251(text), fields, wholeWord};
        for (const FindMatch& match : findGames(*list, query).matches) {
            lines.push_back(std::to_string(match.position) + " " + std::string(fieldKey(match.field).name()));
            described.push_back(shown(describe(*list, match)));
        }
        for (const FindResult& result : findInTable(games_, query)) once.push_back(shown(result));
        EXPECT_EQ(once, described) << "searched once through the table for " << text;
        return lines;
    }
    static std::string shown(const FindResult& r) {
        return std::to_string(r.position) + "|" + std::to_string(r.record) + "|" + r.number.bytes() + "|" + r.name.bytes() +
               "|" + r.region.bytes() + "|" + std::string(fieldKey(r.field).name()) + "|" + r.excerpt.bytes();
    }
    using Lines = std::vector<std::string>;

    testing::TempFolder folder_;
    store::Table games_{folder_.path(), "g.db"};
    GameTexts texts_;
};

TEST_F(FindGamesTest, FoldsLatinAndCyrillicCaseAndReadsYoAsYe) {
    append({{"Name", "Mode 7 Racer"}, {"Text1", "ДРАКОН и ёлка"}, {"Text2", "Їжак Straße"}});
    texts_.reload(games_);
    const struct {
        const char* text;
        Lines expected;
    } cases[] = {
        {"mode 7", {"1 Name"}},   {"MODE 7 r", {"1 Name"}}, {"дракон", {"1 Text1"}}, {"Дракон И", {"1 Text1"}},
        {"ЕЛКА", {"1 Text1"}},    {"Ёлка", {"1 Text1"}},    {"ёЛКа", {"1 Text1"}},   {"їжак", {"1 Text2"}},
        {"STRASSE", {}},          {"драконы", {}},          {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.text), c.expected) << c.text;
}

TEST_F(FindGamesTest, WholeWordsStandAloneBetweenLettersAndDigits) {
    append({{"Name", "Boss fight"}, {"Text1", "мечта"}, {"Text2", "Mode7, mode 7."}, {"Text3", "the boss."}});
    texts_.reload(games_);
    const struct {
        const char* text;
        Lines whole;
    } cases[] = {
        {"boss", {"1 Name", "1 Text3"}}, {"bos", {}},          {"меч", {}},           {"мечта", {"1 Text1"}},
        {"mode", {"1 Text2"}},           {"mode 7", {"1 Text2"}}, {"7.", {"1 Text2"}}, {"ode", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.text, FieldSet::all(), true), c.whole) << c.text;
    EXPECT_EQ(found("bos"), (Lines{"1 Name", "1 Text3"})) << "a substring search finds parts of words";
}

TEST_F(FindGamesTest, EachFieldIsSearchedAloneAndNoMatchSpansTwoFields) {
    const char* fields[] = {"Name", "Drname", "Analog", "Publisher", "Developer", "Year", "Type",
                            "Genre", "Text1", "Text2", "Text3", "Text4", "File"};
    for (const char* field : fields) append({{field, field == std::string("Year") ? "1994" : std::string("zz") + field}});
    append({{"Name", "abc"}, {"Drname", "def"}});
    texts_.reload(games_);
    for (int i = 0; i < kSearchFieldCount; ++i) {
        const std::string field = fields[i];
        const std::string text = field == "Year" ? "1994" : "zz" + field;
        const std::string expected = std::to_string(i + 1) + " " + field;
        EXPECT_EQ(found(text.c_str()), Lines{expected}) << field;
        EXPECT_EQ(found(text.c_str(), *fieldChoice(field)), Lines{expected}) << field;
        EXPECT_EQ(found(text.c_str(), *fieldChoice(field == "Name" ? "File" : "Name")), Lines{}) << field;
    }
    EXPECT_EQ(found("zz", *fieldChoice("genre")), (Lines{"7 Type", "8 Genre"})) << "Genre and Type are one choice";
    EXPECT_EQ(found("cd"), Lines{}) << "the end of Name and the start of Drname are not one text";
    EXPECT_FALSE(fieldChoice("Sid"));
}

TEST_F(FindGamesTest, ResultsCarryTheGameAndAnExcerptInItsOwnLetters) {
    append({{"N", "17"}, {"Name", "Alpha"}, {"Region", "ju"},
            {"Text1", "Первая строка текста про игру.\r\nЗдесь спрятан Секретный уровень, а за ним ещё много слов текста"}});
    texts_.reload(games_);
    const auto list = texts_.snapshot();
    const auto matches = findGames(*list, {text::fromUtf8("секретный"), FieldSet::all(), false}).matches;
    ASSERT_EQ(matches.size(), 1u);
    const FindResult result = describe(*list, matches.front());
    EXPECT_EQ(result.position, 1u);
    EXPECT_EQ(result.number.bytes(), "17");
    EXPECT_EQ(result.name.bytes(), "Alpha");
    EXPECT_EQ(result.region.bytes(), "ju");
    EXPECT_EQ(result.field, SearchField::Text1);
    EXPECT_EQ(text::toUtf8(result.excerpt), "...кста про игру.  Здесь спрятан Секретный уровень, а за ним ещё много с...");
}

TEST_F(FindGamesTest, FollowsEditsWithoutReadingTheTableAgain) {
    append({{"Name", "Alpha"}});
    append({{"Name", "Beta"}});
    append({{"Name", "Gamma"}});
    texts_.reload(games_);
    const auto before = texts_.snapshot();

    games_.moveToPosition(2);
    games_.edit();
    write({{"Publisher", "Konami"}});
    texts_.changed(2, games_);
    EXPECT_EQ(found("konami"), Lines{"2 Publisher"});

    games_.moveToPosition(1);
    games_.insert();
    write({{"Name", "Aardvark Konami"}});
    texts_.inserted(1, games_);
    EXPECT_EQ(found("konami"), (Lines{"1 Name", "3 Publisher"}));

    games_.moveToPosition(3);
    games_.remove();
    texts_.removed(3);
    EXPECT_EQ(found("konami"), Lines{"1 Name"});
    EXPECT_EQ(found("gamma"), Lines{"3 Name"});

    EXPECT_EQ(findGames(*before, {"beta"_stored, FieldSet::all(), false}).matches.size(), 1u)
        << "a search under way keeps the list it began with";
    EXPECT_EQ(findGames(*before, {"konami"_stored, FieldSet::all(), false}).matches.size(), 0u);
}

TEST_F(FindGamesTest, ManyEditsLeaveTheSameListAsReadingAgain) {
    std::mt19937 random(4);
    games_.runAsOneTransaction([&] {
        for (int i = 0; i < 2500; ++i) append({{"Name", "game " + std::to_string(i)}, {"Text1", i % 7 ? "x" : "seven"}});
    });
    texts_.reload(games_);
    for (int step = 0; step < 300; ++step) {
        const auto position = static_cast<std::int64_t>(1 + random() % static_cast<unsigned>(games_.recordCount()));
        games_.moveToPosition(position);
        if (step % 3 == 0) {
            games_.remove();
            texts_.removed(static_cast<std::size_t>(position));
        } else {
            games_.insert();
            write({{"Name", "new " + std::to_string(step)}, {"Text1", "seven"}});
            texts_.inserted(static_cast<std::size_t>(position), games_);
        }
    }
    const Lines followed = found("seven");
    texts_.reload(games_);
    EXPECT_EQ(followed, found("seven"));
    EXPECT_EQ(texts_.size(), static_cast<std::size_t>(games_.recordCount()));
}

// Letters whose UTF-8 forms differ in either byte between their cases, Ё
// and е, signs and letters of other scripts the code page lacks, as random
// texts searched for random pieces of themselves in another case.
TEST_F(FindGamesTest, ASearchThroughTheTableFindsWhatTheListFinds) {
    const std::vector<std::string> letters = {"a", "B", "z", " ", "7", ".", "?", "ё", "Ё", "е", "Е", "Ђ", "ђ", "Ґ",
                                              "ґ", "Ў", "ў", "Я", "р", "П", "а", "№", "«", "™", "中", "€"};
    std::mt19937 random(11);
    const auto randomText = [&](std::size_t length) {
        std::string t;
        while (t.size() < length) t += letters[random() % letters.size()];
        return text::fromUtf8(t);
    };
    games_.runAsOneTransaction([&] {
        for (int i = 0; i < 300; ++i) {
            games_.append();
            games_.fieldByName("N").setAsInteger(i);
            for (const char* field : {"Name", "Text1", "Text4", "Publisher"})
                games_.fieldByName(field).setAsString(randomText(random() % 40));
            games_.post();
        }
    });
    texts_.reload(games_);
    for (int i = 0; i < 200; ++i) {
        std::string needle = randomText(1 + random() % 4).bytes();
        for (char& c : needle) c = random() % 2 ? text::upper(c) : text::lower(c);
        foundCp1251(needle, FieldSet::all(), i % 3 == 0);
    }
}

// Another SQLite tool may have written a text that is not well-formed
// UTF-8; it is searched as the table reads it (an overlong "A" as "A",
// a broken sequence as "?").
TEST_F(FindGamesTest, TextsWrittenByOtherToolsAreSearchedAsTheTableReadsThem) {
    append({{"Name", "x"}});
    games_.close();
    {
        store::sqlite::Database db(folder_.path() / "g.db", store::sqlite::OpenMode::Existing, "g.db");
        db.exec("UPDATE records SET Name = CAST(x'C181627A' AS TEXT), Text1 = CAST(x'D07A' AS TEXT)");
    }
    games_.open();
    texts_.reload(games_);
    EXPECT_EQ(found("abz"), Lines{"1 Name"});
    EXPECT_EQ(found("?z"), Lines{"1 Text1"});
}

TEST_F(FindGamesTest, ACancelledSearchGivesNothing) {
    append({{"Name", "Alpha"}});
    texts_.reload(games_);
    EXPECT_TRUE(findGames(*texts_.snapshot(), {"alpha"_stored, FieldSet::all(), false}, [] { return true; }).cancelled);
    EXPECT_EQ(findGames(*texts_.snapshot(), {"alpha"_stored, FieldSet::all(), false}, [] { return false; }).matches.size(), 1u);
}

} // namespace
} // namespace gamarium::find
