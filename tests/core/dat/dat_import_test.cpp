// Importing the SNES sample into empty bases, bases made by a list merge and
// bases already typed into.
#include "core/dat/dat_files.h"
#include "core/dat/dat_import.h"
#include "core/dat/dat_record.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"
#include "core/tools/checks.h"
#include "core/tools/merge.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace gamarium::dat {
namespace {

const files::Path kSample = files::Path(GAMARIUM_TEST_DATA) / "dat";

// The sample DAT and its five metadata files; a crafted DAT alone when `withMetadata` is false.
DatContents sample(const char* dat = "snes-no-intro.dat", bool withMetadata = true) {
    std::vector<files::Path> paths = {kSample / dat};
    if (withMetadata)
        for (const char* meta : {"snes-developer.dat", "snes-publisher.dat", "snes-releaseyear.dat", "snes-genre.dat",
                             "snes-maxusers.dat"})
        paths.push_back(kSample / meta);
    return readDatFiles(paths);
}

class DatImport : public ::testing::Test {
protected:
    void SetUp() override {
        store::createBase(home_.path(), "snes", false);
        games_.open();
    }

    DatImportResult import(const DatContents& dat, bool dryRun = false) {
        lines_.clear();
        return importDat(games_, dat, [&](const std::string& utf8Line) { lines_.push_back(utf8Line); }, dryRun);
    }

    std::vector<std::string> column(store::FieldKey field) {
        std::vector<std::string> values;
        games_.forEachRecord({field}, [&](std::size_t) { values.push_back(games_.field(field).asString().bytes()); });
        return values;
    }

    std::vector<std::string> table() {
        std::vector<std::string> rows;
        games_.forEachRecord({}, [&](std::size_t) {});
        for (games_.first(); !games_.isEmpty() && !games_.eof(); games_.next()) {
            std::string row;
            for (int i = 0; i < games_.fieldCount(); ++i) row += games_.field(i).asString().bytes() + "|";
            rows.push_back(row);
        }
        return rows;
    }

    std::vector<std::string> nameCheck() {
        std::vector<std::string> found;
        tools::checkNames(games_, [&](const text::StoredText& line) { found.push_back(text::toUtf8(line)); });
        found.pop_back(); // "Проверка закончена!"
        return found;
    }

    void add(const std::vector<std::pair<std::string, std::string>>& fields) {
        games_.append();
        for (const auto& [field, value] : fields) games_.fieldByName(field).setAsString(text::fromUtf8(value));
        games_.post();
    }

    bool reported(const std::string& part) const {
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }

    gamarium::testing::TempFolder home_;
    store::Table games_{store::basesFolder(home_.path()), store::gameTableName("snes")};
    std::vector<std::string> lines_;
};

TEST_F(DatImport, SampleFillsAnEmptyBaseInNameOrderAndASecondRunChangesNothing) {
    const DatImportResult first = import(sample());
    EXPECT_EQ(first.added, 116);
    EXPECT_EQ(first.filled + first.unchanged, 0);
    EXPECT_EQ(first.unaccented, 2); // Brøderbund as publisher and developer
    EXPECT_TRUE(reported("«Prince of Persia 2 (Europe)», Publisher: без диакритики «Broderbund Software»"));
    EXPECT_EQ(first.firstAdded, 1);
    EXPECT_EQ(nameCheck(), std::vector<std::string>{});
    const std::vector<std::string> n = column(store::games::N);
    for (std::size_t i = 0; i < n.size(); ++i) ASSERT_EQ(n[i], std::to_string(i + 1));

    games_.moveToPosition(64);
    EXPECT_EQ(games_.fieldByName("Name").asString().bytes(), "Odekake Lester - Lelele no Le");
    EXPECT_EQ(games_.fieldByName("File").asString().bytes(), "Odekake Lester - Lelele no Le (^^; (Japan).sfc");
    games_.moveToPosition(1);
    const std::pair<const char*, const char*> soccer[] = {
        {"Sid", "num"}, {"Name", "'96 Zenkoku Koukou Soccer Senshuken"}, {"Region", "j"},
        {"Publisher", "Magical Company"}, {"Developer", "Magical Company"}, {"Year", "1996"}, {"Ngamers", "2"},
        {"Type", "Sport"}, {"Genre", ""}, {"Size", "1536"}, {"Image1", ""}, {"Text1", ""}, {"Patch", ""}};
    for (const auto& [field, value] : soccer) EXPECT_EQ(games_.fieldByName(field).asString().bytes(), value) << field;
    const std::vector<std::string> names = column(store::games::Name);
    const auto blt = std::find(names.begin(), names.end(), "BLT"); // no metadata at all
    ASSERT_NE(blt, names.end());
    games_.moveToPosition(blt - names.begin() + 1);
    EXPECT_EQ(games_.fieldByName("Region").asString().bytes(), "jue");
    EXPECT_EQ(games_.fieldByName("Publisher").asString().bytes(), "");

    const std::vector<std::string> before = table();
    const DatImportResult second = import(sample());
    EXPECT_EQ(second.added + second.filled, 0);
    EXPECT_EQ(second.unchanged, 116);
    EXPECT_EQ(second.unaccented, 0);
    EXPECT_EQ(table(), before);
}

// The crafted pair carries its years in the DAT itself (releaseyear, <year>)
// and a name whose region follows an earlier parenthesis, without a region field.
TEST_F(DatImport, BothFormatsMakeTheSameTable) {
    struct Case {
        const char *text, *xml;
        bool withMetadata;
        std::vector<std::string> years, regions;
    };
    const Case cases[] = {
        {"snes-no-intro.dat", "snes-no-intro.xml", true, {}, {}},
        {"years.dat", "years.xml", false, {"1993", "1995", "", "1994"}, {"j", "ue", "e", "j"}},
    };
    for (const Case& c : cases) {
        import(sample(c.text, c.withMetadata));
        const std::vector<std::string> fromText = table();
        if (!c.years.empty()) {
            EXPECT_EQ(column(store::games::Year), c.years) << c.text;
            EXPECT_EQ(column(store::games::Region), c.regions) << c.text;
        }
        games_.close();
        store::emptyBase(home_.path(), "snes");
        games_.open();
        import(sample(c.xml, c.withMetadata));
        EXPECT_EQ(table(), fromText) << c.xml;
        games_.close();
        store::emptyBase(home_.path(), "snes");
        games_.open();
    }
}

TEST_F(DatImport, ABaseMadeByAListMergeIsFilledInPlace) {
    // The list a list tool makes from the same DAT: name part;region letters.
    std::string list;
    for (const DatGame& game : sample().games) {
        const DatRecord record = datRecord(game, nullptr);
        list += text::fromUtf8(game.name).bytes() + ";" + record[Region].text + "\r\n";
    }
    tools::mergeList(games_, tools::readListFile(list), [](const text::StoredText&) {});
    ASSERT_EQ(games_.recordCount(), 116);
    const std::vector<std::string> mergedNames = column(store::games::Name);

    // The list's ";" cuts "Odekake Lester - Lelele no Le (^^; (Japan)" short, so
    // that game's merged record keeps another name and the game comes anew.
    const DatImportResult first = import(sample());
    EXPECT_EQ(first.added, 1);
    EXPECT_EQ(first.filled, 115);
    std::vector<std::string> names = column(store::games::Name);
    const auto added = std::find(names.begin(), names.end(), "Odekake Lester - Lelele no Le");
    ASSERT_NE(added, names.end());
    names.erase(added);
    EXPECT_EQ(names, mergedNames);
    EXPECT_EQ(column(store::games::Ngamers)[0], "1") << "a value the record has stays";
    const std::vector<std::string> files = column(store::games::File);
    EXPECT_EQ(std::count(files.begin(), files.end(), ""), 1);

    const DatImportResult second = import(sample());
    EXPECT_EQ(second.added + second.filled, 0);
    EXPECT_EQ(second.unchanged, 116);
}

TEST_F(DatImport, TypedTextsSurviveAndFilesMatchWhateverTheirCase) {
    add({{"N", "1"}, {"Name", "Мой Демон"}, {"File", "DEMON'S CREST (EUROPE).SFC"}, {"Publisher", "Свой издатель"}});
    add({{"N", "2"}, {"Name", "Actraiser 2"}, {"Region", "e"}, {"Type", "Strategy"}});
    const DatImportResult result = import(sample());
    EXPECT_EQ(result.added, 114);
    EXPECT_EQ(result.filled, 2);
    const std::vector<std::string> names = column(store::games::Name);
    const auto demon = std::find(names.begin(), names.end(), text::fromUtf8("Мой Демон").bytes());
    ASSERT_NE(demon, names.end());
    games_.moveToPosition(demon - names.begin() + 1);
    EXPECT_EQ(games_.fieldByName("Publisher").asString(), text::fromUtf8("Свой издатель"));
    EXPECT_EQ(games_.fieldByName("File").asString().bytes(), "DEMON'S CREST (EUROPE).SFC");
    EXPECT_EQ(games_.fieldByName("Developer").asString().bytes(), "Capcom");
    EXPECT_EQ(games_.fieldByName("Sid").asString(), text::fromUtf8("м")) << "the record's own name gives Sid";
    EXPECT_EQ(games_.fieldByName("Region").asString().bytes(), "e");
    games_.moveToPosition(1);
    EXPECT_EQ(games_.fieldByName("Name").asString().bytes(), "'96 Zenkoku Koukou Soccer Senshuken");
    const auto actraiser = std::find(names.begin(), names.end(), "Actraiser 2");
    games_.moveToPosition(actraiser - names.begin() + 1);
    EXPECT_EQ(games_.fieldByName("Type").asString().bytes(), "Strategy");
    EXPECT_EQ(games_.fieldByName("Publisher").asString().bytes(), "Enix");
    EXPECT_EQ(games_.fieldByName("File").asString().bytes(), "Actraiser 2 (Europe) (En,Fr,De).sfc");
}

TEST_F(DatImport, NewGamesGoWhereTheirNamesBelong) {
    // Out-of-step numbers and names that sort among the sample's, Latin case aside.
    for (const char* name : {"actraiser", "B", "Mmm", "mmm", "Zzzz", "Абв"})
        add({{"N", "7"}, {"Name", name}, {"File", std::string(name) + ".x"}});
    const DatImportResult result = import(sample());
    EXPECT_EQ(result.added, 116);
    EXPECT_EQ(nameCheck(), std::vector<std::string>{});
    const std::vector<std::string> n = column(store::games::N);
    for (std::size_t i = 0; i < n.size(); ++i) ASSERT_EQ(n[i], std::to_string(i + 1));
    const std::vector<std::string> names = column(store::games::Name);
    EXPECT_EQ(names[1], "actraiser");
    EXPECT_EQ(names[2], "Actraiser 2");
    EXPECT_EQ(names.back(), text::fromUtf8("Абв").bytes());
    EXPECT_EQ(result.firstAdded, 1);
}

TEST_F(DatImport, DryRunSaysWhatWouldChangeAndWritesNothing) {
    add({{"N", "1"}, {"Name", "Actraiser 2"}, {"Region", "e"}});
    const DatImportResult result = import(sample(), true);
    EXPECT_EQ(result.added, 115);
    EXPECT_EQ(result.filled, 1);
    EXPECT_TRUE(reported("добавится: Akumajou Dracula (j)"));
    EXPECT_TRUE(reported("дополнится: Actraiser 2 (e), место 1: Sid, Publisher, Developer, Year, Ngamers, Type, File, Size"));
    EXPECT_EQ(games_.recordCount(), 1);
    EXPECT_EQ(column(store::games::Publisher), std::vector<std::string>{""});
}

TEST_F(DatImport, ATableThatWouldPassTheLimitIsRefusedBeforeAnyChange) {
    games_.runAsOneTransaction([&] {
        for (int i = 1; i <= 32700; ++i) add({{"N", std::to_string(i)}, {"Name", "Zz " + std::to_string(i)}});
    });
    add({{"Name", "Actraiser 2"}, {"Region", "e"}});
    try {
        import(sample());
        ADD_FAILURE() << "imported";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("32816"), std::string::npos) << e.what();
    }
    EXPECT_EQ(games_.recordCount(), 32701);
    games_.last();
    EXPECT_EQ(games_.fieldByName("Publisher").asString().bytes(), "");
}

TEST_F(DatImport, WhatTheTableCannotHoldIsReportedAndLeftEmpty) {
    std::istringstream in(
        "game ( name \"Caf\xC3\xA9 (USA)\" rom ( name \"\xE3\x82\xA2.sfc\" size 99999999999 crc 00000001 ) )\n"
        "game ( name \"A very long name that goes on and on and on, well past what the Name field keeps for it (Mars)\" region \"Mars\" )\n"
        "game ( comment \"x\" developer \"\xE3\x82\xA2\" genre \"Mecha, Racing, Space Opera Epic\" rom ( crc 00000001 ) )\n");
    DatContents dat;
    readDatStream(in, dat);
    const DatImportResult result = import(dat);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(result.unaccented, 1);
    EXPECT_EQ(result.cut, 2);
    EXPECT_EQ(result.leftEmpty, 3);
    EXPECT_TRUE(reported("«Café (USA)», File: оставлено пустым: символ «ア» (U+30A2)"));
    EXPECT_TRUE(reported("«Café (USA)», Size: оставлено пустым: 97656250 КиБ"));
    EXPECT_TRUE(reported("«Café (USA)», Developer: оставлено пустым: символ «ア» (U+30A2)"));
    EXPECT_TRUE(reported("«Café (USA)», Genre: обрезано до «Mecha, Space Opera»"));
    EXPECT_TRUE(reported("Region: слова «Mars» нет в таблице регионов"));
    EXPECT_EQ(conversionsLine(result), "без диакритики: 1, обрезано: 2, оставлено пустым: 3");
    EXPECT_EQ(countsLine(result), "Добавлено: 2, дополнено: 0, без изменений: 0");
    const std::vector<std::string> names = column(store::games::Name);
    EXPECT_EQ(names[0], "A very long name that goes on and on and on, well past what the Name field keeps");
    EXPECT_EQ(names[1], "Cafe");
    EXPECT_EQ(column(store::games::Type)[1], "Race/Driving");
}

// Texts keep a plain form of what Windows-1251 lacks (½ 1/2, ² 2, × x,
// full-width letters, Roman numerals, ligatures; an ideographic space at
// the start goes, and a file name gets "_" for a slash); a game whose name keeps
// none is passed over and said, never stored without a name, so a second
// run adds nothing.
TEST_F(DatImport, NamesTheCodePageLacksAreSpelledPlainOrPassedOver) {
    const DatImportResult first = import(sample("plain-forms.dat", false));
    EXPECT_EQ(first.added, 5);
    EXPECT_EQ(first.unaccented, 9); // Name and File of four games, the Name of Café
    EXPECT_EQ(column(store::games::Name), (std::vector<std::string>{"3x3 Eyes - Juuma Houkan", "Cafe III final",
                                                        "Ranma 1/2 - Hard Battle", "Super Bomberman 5",
                                                        "Super Puyo Puyo2"}));
    EXPECT_EQ(column(store::games::File), (std::vector<std::string>{"3x3 Eyes - Juuma Houkan (Japan).sfc", "Cafe III final (Europe).sfc",
                                                        "Ranma 1_2 - Hard Battle (USA).sfc", "Super Bomberman 5 (Japan).sfc",
                                                        "Super Puyo Puyo2 (Japan).sfc"}));
    EXPECT_EQ(column(store::games::Sid), (std::vector<std::string>{"num", "c", "r", "s", "s"}));
    EXPECT_TRUE(reported("«Ranma ½ - Hard Battle (USA)», Name: без диакритики «Ranma 1/2 - Hard Battle»"));
    EXPECT_TRUE(reported("«ＳＤガンダム Ｘ (Japan)», Name: игра пропущена: символ «ガ» (U+30AC), которого нет в "
                         "кодировке Windows-1251"));
    EXPECT_EQ(countsLine(first), "Добавлено: 5, дополнено: 0, без изменений: 0, пропущено: 1");

    const std::vector<std::string> before = table();
    const DatImportResult second = import(sample("plain-forms.dat", false));
    EXPECT_EQ(second.added + second.filled, 0);
    EXPECT_EQ(second.unchanged, 5);
    EXPECT_EQ(table(), before);
}

} // namespace
} // namespace gamarium::dat
