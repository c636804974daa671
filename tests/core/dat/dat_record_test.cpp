// What a DAT game becomes: the record's fields from the game and its metadata.
#include "core/dat/dat_record.h"
#include "core/dat/genres.h"
#include "core/dat/regions.h"
#include "core/files/plain_name.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

namespace gamarium::dat {
namespace {

DatGame gameOf(const std::string& name, const std::string& region = "", const std::string& romName = "",
               std::optional<std::uint64_t> size = std::nullopt) {
    DatGame game;
    game.line = 1;
    game.name = name;
    game.region = region;
    game.romName = romName;
    game.romSize = size;
    return game;
}

TEST(DatRecord, NameSidRegionFileAndSizeFromTheGame) {
    struct Case {
        std::string name, region, romName;
        std::uint64_t size;
        const char *cleanName, *sid, *letters, *kib;
    };
    const Case cases[] = {
        {"'96 Zenkoku Koukou Soccer Senshuken (Japan)", "Japan", "x.sfc", 1572864, "'96 Zenkoku Koukou Soccer Senshuken",
         "num", "j", "1536"},
        {"Odekake Lester - Lelele no Le (^^; (Japan)", "Japan", "o.sfc", 1048576, "Odekake Lester - Lelele no Le", "o",
         "j", "1024"},
        {"Donkey Kong Country (USA, Europe) (Rev 2) (Virtual Console, Classic Mini, Switch Online)", "USA", "d.sfc", 1,
         "Donkey Kong Country", "d", "ue", "1"},
        {"BLT (World) (Demo 1)", "", "b.sfc", 1025, "BLT", "b", "jue", "2"},
        {"7th Saga, The (USA)", "USA", "s.sfc", 0, "7th Saga, The", "num", "u", "0"},
        {"Ardy Lightfoot (Japan, USA) (Beta)", "", "a.sfc", 33553408, "Ardy Lightfoot", "a", "ju", "32767"},
        {"Blanco World Class Rugby (France) (En)", "France", "r.sfc", 524288, "Blanco World Class Rugby", "b", "e",
         "512"},
        {"Game (Proto) (Korea)", "Korea", "g.sfc", 1024, "Game", "g", "k", "1"},
        {"Game (Brazil, Korea, Asia, USA)", "", "g.sfc", 1024, "Game", "g", "bka", "1"},
        {"Game (Germany, Europe, France)", "", "g.sfc", 1024, "Game", "g", "e", "1"},
        {"\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 (Russia)", "", "g.sfc", 1024, "\xC8\xE3\xF0\xE0", "\xE8", "e", "1"},
        {".hack - Infection (Japan)", "", "h.sfc", 1024, ".hack - Infection", "num", "j", "1"},
        {"/\\: Slash (USA)", "", "s.sfc", 1024, "/\\: Slash", "num", "u", "1"},
        // The first group whose words are all region words, whatever comes before it.
        {"Odekake Lester - Lelele no Le (^^; (Japan)", "", "o.sfc", 1024, "Odekake Lester - Lelele no Le", "o", "j", "1"},
        {"Game (Rev 1) (USA, Europe) (Japan)", "Japan", "g.sfc", 1024, "Game", "g", "ue", "1"},
        {"Game (En,Fr) (Europe)", "USA", "g.sfc", 1024, "Game", "g", "e", "1"},
        {"Game (USA) (Proto)", "Japan", "g.sfc", 1024, "Game", "g", "u", "1"},
        {"Game (Demo) (Kiosk)", "Korea", "g.sfc", 1024, "Game", "g", "k", "1"},
    };
    for (const Case& c : cases) {
        const DatRecord record = datRecord(gameOf(c.name, c.region, c.romName, c.size), nullptr);
        EXPECT_EQ(record[Name].text, c.cleanName) << c.name;
        EXPECT_EQ(record[Sid].text, c.sid) << c.name;
        EXPECT_TRUE(files::isPlainName(record[Sid].text)) << c.name;
        EXPECT_EQ(record[Region].text, c.letters) << c.name;
        EXPECT_EQ(record[File].text, c.romName) << c.name;
        EXPECT_EQ(record[Size].text, c.kib) << c.name;
        for (const DatField f : {Publisher, Developer, Year, Ngamers, Type, Genre})
            EXPECT_TRUE(record[f].text.empty()) << c.name << " " << kDatFields[f].name();
    }
}

TEST(DatRecord, SizeTooLargeForTheFieldIsLeftOutAndSaid) {
    const DatRecord record = datRecord(gameOf("Big", "", "", 33553409), nullptr);
    EXPECT_EQ(record[Size].text, "");
    EXPECT_NE(record[Size].problem.find("32768 КиБ"), std::string::npos);
}

TEST(DatRecord, MetadataGivesPublisherDeveloperYearPlayersTypeAndGenre) {
    const Metadata metadata{.developer = "Rareware",
                            .publisher = "Br\xC3\xB8" "derbund Software",
                            .releaseYear = "1994",
                            .genre = "Role-playing (RPG), Fantasy / Action",
                            .users = "2"};
    const DatRecord record = datRecord(gameOf("Game (USA)"), &metadata);
    EXPECT_EQ(record[Publisher].text, "Broderbund Software");
    EXPECT_TRUE(record[Publisher].unaccented);
    EXPECT_EQ(record[Developer].text, "Rareware");
    EXPECT_FALSE(record[Developer].unaccented);
    EXPECT_EQ(record[Year].text, "1994");
    EXPECT_EQ(record[Ngamers].text, "2");
    EXPECT_EQ(record[Type].text, "RPG");
    EXPECT_EQ(record[Genre].text, "Fantasy, Action");
    EXPECT_TRUE(record[File].text.empty());
    EXPECT_TRUE(record[Size].text.empty());

    const Metadata odd{.developer = "\xE3\x82\xA2\xE3\x83\x88\xE3\x83\xA9\xE3\x82\xB9 (Atlus)",
                       .publisher = "A very long publisher name that goes on",
                       .releaseYear = "199x",
                       .genre = "Music",
                       .users = std::nullopt};
    const DatRecord cut = datRecord(gameOf("Game"), &odd);
    EXPECT_EQ(cut[Developer].text, "");
    EXPECT_NE(cut[Developer].problem.find("U+30A2"), std::string::npos);
    EXPECT_EQ(cut[Publisher].text, "A very long publisher");
    EXPECT_TRUE(cut[Publisher].cut);
    EXPECT_EQ(cut[Year].text, "");
    EXPECT_NE(cut[Year].problem.find("199x"), std::string::npos);
    EXPECT_EQ(cut[Type].text, "Music/Dance");
    EXPECT_EQ(cut[Genre].text, "");
}

TEST(DatRecord, GenreTable) {
    struct Case {
        const char *genre, *type, *rest;
    };
    const Case cases[] = {
        {"Action", "Action/Reflex", ""},
        {"Role playing games", "RPG", ""},
        {"Racing", "Race/Driving", ""},
        {"Sports", "Sport", ""},
        {"Puzzle", "Puzzle/Tetris ", ""},
        {"Board", "Board Game", ""},
        {"Gambling", "Casino/Cards", ""},
        {"Quiz", "Trivia/Quiz", ""},
        {"Shooter", "Shoot'em Up", ""},
        {"SHOOT'EM UP", "Shoot'em Up", ""},
        {"Platform, Action", "Platform", "Action"},
        {"Horror, Adventure", "Adventure", "Horror"},
        {"Mecha", "", "Mecha"},
        {" , ", "", ""},
    };
    for (const Case& c : cases) {
        const Classification classification = classifyGenre(c.genre);
        EXPECT_EQ(classification.type, c.type) << c.genre;
        EXPECT_EQ(classification.genre, c.rest) << c.genre;
    }
}

TEST(DatRecord, RegionWordsTheTableLacksAreNamed) {
    const RegionLetters letters = regionLetters("USA, Latin America,Japan, Europe, Korea");
    EXPECT_EQ(letters.letters, "uje");
    EXPECT_EQ(letters.unknown, std::vector<std::string>{"Latin America"});
    EXPECT_EQ(gameRegion("Game (Proto)", "Mars").unknown, std::vector<std::string>{"Mars"});
    EXPECT_EQ(gameRegion("Game (World) (Proto)", "Mars").letters, "jue");
}

TEST(DatRecord, CutAtAWordBoundaryWhereThereIsOne) {
    struct Case {
        const char* text;
        std::size_t size;
        const char* cut;
    };
    const Case cases[] = {
        {"Short", 20, "Short"},
        {"Electronic Arts Victor", 20, "Electronic Arts"},
        {"Electronic Arts Vict", 20, "Electronic Arts Vict"},
        {"Electronic Arts Victor", 15, "Electronic Arts"},
        {"Electronic Arts  Victor", 16, "Electronic Arts"},
        {"Supercalifragilistic", 10, "Supercalif"},
        {" Leading", 4, " Lea"},
    };
    for (const Case& c : cases) EXPECT_EQ(cutAtWord(c.text, c.size), c.cut) << c.text;
}

} // namespace
} // namespace gamarium::dat
