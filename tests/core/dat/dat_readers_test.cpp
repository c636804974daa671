// The DAT and metadata readers on the real SNES sample and on damaged files.
#include "core/dat/clrmamepro_reader.h"
#include "core/dat/dat_files.h"
#include "core/dat/logiqx_reader.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace gamarium::dat {
namespace {

using namespace std::string_literals;

const files::Path kSample = files::Path(GAMARIUM_TEST_DATA) / "dat";

DatContents read(std::istream& in) {
    DatContents contents;
    readDatStream(in, contents);
    return contents;
}

DatContents readText(const std::string& text) {
    std::istringstream in(text);
    return read(in);
}

DatContents readSample(const char* name) {
    std::ifstream in(kSample / name, std::ios::binary);
    return read(in);
}

TEST(DatReaders, BothFormatsOfTheSampleGiveTheSameGames) {
    const DatContents text = readSample("snes-no-intro.dat");
    const DatContents xml = readSample("snes-no-intro.xml");
    ASSERT_EQ(text.games.size(), 116u);
    ASSERT_EQ(xml.games.size(), text.games.size());
    EXPECT_TRUE(text.metadata.empty());
    for (std::size_t i = 0; i < text.games.size(); ++i) {
        const DatGame &a = text.games[i], &b = xml.games[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.region, b.region) << a.name;
        EXPECT_EQ(a.romName, b.romName);
        EXPECT_EQ(a.romSize, b.romSize) << a.name;
        EXPECT_EQ(a.crc, b.crc) << a.name;
    }
    const DatGame& semicolon = text.games.at(63);
    EXPECT_EQ(semicolon.name, "Odekake Lester - Lelele no Le (^^; (Japan)");
    EXPECT_EQ(semicolon.line, 320);
    EXPECT_EQ(semicolon.crc, 0x8D89A8E8u);
    EXPECT_EQ(semicolon.romSize, 1048576u);
    EXPECT_EQ(text.games.at(5).region, ""); // BLT (World) has no region field
}

TEST(DatReaders, MetadataFilesGiveTheirValuesByCrc) {
    DatContents all;
    for (const char* file : {"snes-developer.dat", "snes-publisher.dat", "snes-releaseyear.dat", "snes-genre.dat",
                             "snes-maxusers.dat"}) {
        std::ifstream in(kSample / file, std::ios::binary);
        readDatStream(in, all);
    }
    EXPECT_TRUE(all.games.empty());
    EXPECT_EQ(all.metadataEntries, 105u + 104 + 89 + 105 + 102);
    const Metadata& prince = *all.metadata.find(0x2D25A9E1); // Prince of Persia 2 (Europe)
    EXPECT_EQ(prince.publisher, "Br\xC3\xB8" "derbund Software");
    const Metadata& soccer = *all.metadata.find(0x05FBB855);
    EXPECT_EQ(soccer.developer, "Magical Company");
    EXPECT_EQ(soccer.releaseYear, "1996");
    EXPECT_EQ(soccer.genre, "Sports");
    EXPECT_EQ(soccer.users, "2");
}

TEST(DatReaders, FirstRomGivesFileSizeAndCrc) {
    for (const std::string& file :
         {std::string("game ( name \"Quote \\\"A\\\" \\\\ B\" region \"USA, Europe\"\n"
                      "  rom ( name \"a.sfc\" size 1025 crc abcdef01 ) rom ( name \"b.sfc\" size 7 crc 00000000 ) )\n"),
          std::string("<?xml version=\"1.0\"?>\n<datafile><header/>\n"
                      "<machine name='Quote \"A\" \\ B' region='USA, Europe'><description>d</description>\n"
                      "<rom name='a.sfc' size='1025' crc='ABCDEF01'/><rom name='b.sfc' size='7' crc='00000000'/>"
                      "</machine></datafile>")}) {
        const DatContents contents = readText(file);
        ASSERT_EQ(contents.games.size(), 1u) << file;
        const DatGame& game = contents.games.front();
        EXPECT_EQ(game.name, "Quote \"A\" \\ B");
        EXPECT_EQ(game.region, "USA, Europe");
        EXPECT_EQ(game.romName, "a.sfc");
        EXPECT_EQ(game.romSize, 1025u);
        EXPECT_EQ(game.crc, 0xABCDEF01u);
        EXPECT_EQ(game.line, file.front() == '<' ? 3 : 1);
    }
}

TEST(DatReaders, DamagedFilesAreRefusedWithTheLine) {
    struct Case {
        std::string file;
        int line;
        std::string reason;
    };
    const Case cases[] = {
        {"game ( name \"A\" )\ngame ( name \"B )\n", 2, "кавычка не закрыта"},
        {"game ( name \"A\"\n rom ( name \"a\" size 1 crc 00000000 )\n", 1, "не закрыта до конца файла"},
        {"game ( name \"A\" rom ( crc 1234567 ) )", 1, "не из 8 шестнадцатеричных цифр"},
        {"game (\n rom ( crc 1234567G ) )", 2, "не из 8 шестнадцатеричных цифр"},
        {"game (\n\n rom ( size 12a ) )", 3, "не число"},
        {"game ( name \"A\" rom ( size -1 ) )", 1, "не число"},
        {"game ( name \"A\"\n rom ( name \"a\" size 1 crc 00000000 )\n rom ( name \"b\" size x1 ) )", 3, "не число"},
        {"game ( name )\n", 1, "нет значения"},
        {"game ( name \"A\" ) )\n", 1, "ожидалось имя блока"},
        {"\"game\" ( )", 1, "ожидалось имя блока"},
        {"game name", 1, "ожидалась «(»"},
        {"a ( b ( c ( d ( e ( f ( g ( h ( i ( j ( k ( l ( m ( n ( o ( p ( q ( r ( ", 1, "вложенные"},
        {"<datafile>\n<game name='A'>\n</datafile>", 3, "неверный XML"},
        {"<datafile>\n<game name='A'><rom name='a' size='1' crc='0000000x'/></game></datafile>", 2,
         "не из 8 шестнадцатеричных цифр"},
        {"<datafile>\n\n<game name='A'><rom name='a' size='' crc='00000000'/></game></datafile>", 3, "не число"},
        {"<datafile><game name='A'>", 1, "неверный XML"},
        {"\n\n<datafile>\n<game name='A'><rom size='1x'/></game></datafile>", 4, "не число"},
        {"\xEF\xBB\xBF\r\n\ngame ( name \"A )", 3, "кавычка не закрыта"},
        // Names and ROM names never hold a NUL byte or a control character,
        // and a refusal quotes them escaped, never raw.
        {"game ( name \"A\"\n rom ( name \"a\0b.sfc\" size 1 crc 00000000 ) )"s, 2, "нулевой байт"},
        {"game ( name \"Clear\x1B[2J\" )", 1, "управляющий символ U+001B в «Clear\\x1B[2J»"},
        {"game ( name \"A\"\n rom ( name \"a\tb.sfc\" size 1 crc 00000000 ) )", 2, "управляющий символ U+0009"},
        {"game ( name \"A\"\n rom ( name \"a\" size 1\n crc \x1B[2J0000 ) )", 3, "управляющий символ U+001B"},
        {"game ( developer \"D\x07\" rom ( crc 00000000 ) )", 1, "управляющий символ U+0007"},
        {"<datafile>\n<game name='A&#10;B'/></datafile>", 2, "управляющий символ U+000A"},
        {"<datafile>\n<game name='A'>\n<rom name='a&#9;b' size='1' crc='00000000'/></game></datafile>", 3,
         "управляющий символ U+0009"},
        {"<datafile>\n<game name='A'>\n<year>19&#13;93</year></game></datafile>", 3, "управляющий символ U+000D"},
        {"<datafile>\n<game name='A'>\n\n<rom name='a\0'/></game></datafile>"s, 4, "нулевой байт"},
        {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, 2, "управляющий символ U+001A"},
    };
    for (const Case& c : cases) {
        try {
            readText(c.file);
            ADD_FAILURE() << "read: " << c.file;
        } catch (const DamagedDat& damaged) {
            EXPECT_EQ(damaged.line(), c.line) << c.file;
            EXPECT_NE(damaged.reason().find(c.reason), std::string::npos) << c.file << ": " << damaged.reason();
            const std::string what = damaged.what();
            EXPECT_TRUE(std::none_of(what.begin(), what.end(), [](char b) { return static_cast<unsigned char>(b) < 0x20; }))
                << c.file << ": " << what;
        }
    }
}

TEST(DatReaders, FilesAreToldApartByContent) {
    gamarium::testing::TempFolder folder;
    const auto write = [&](const char* name, const std::string& content) {
        std::ofstream(folder.path() / name, std::ios::binary) << content;
        return folder.path() / name;
    };
    const auto dat = write("games.txt", "game ( name \"A (USA)\" rom ( name \"a.sfc\" size 1 crc 0000000A ) )\n");
    const auto xml = write("games.xml", "\xEF\xBB\xBF <datafile><game name='B'/></datafile>");
    const auto meta = write("meta.dat", "game ( comment \"A\" developer \"D\" rom ( crc 0000000a ) )\n"
                                        "game ( name \"Z\" publisher \"P\" rom ( crc 000000FF ) )\n");
    const auto neither = write("other.dat", "clrmamepro ( name \"x\" )\ngame ( comment \"A\" rom ( crc 0000000a ) )\n");
    const auto damaged = write("damaged.dat", "game ( comment \"A\"\n developer \"D )\n");

    const DatContents contents = readDatFiles({meta, dat});
    ASSERT_EQ(contents.games.size(), 1u);
    EXPECT_EQ(contents.metadata.find(0xA)->developer, "D");
    EXPECT_EQ(contents.metadata.find(0xFF)->publisher, "P"); // a CRC the DAT lacks is kept, and unused
    EXPECT_EQ(readDatFiles({xml}).games.front().name, "B");

    const auto refusal = [](const std::vector<files::Path>& paths) {
        try {
            readDatFiles(paths);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_NE(refusal({dat, neither}).find("other.dat: ни игр DAT, ни метаданных"), std::string::npos);
    EXPECT_NE(refusal({dat, xml}).find("games.xml: второй файл DAT"), std::string::npos);
    EXPECT_NE(refusal({meta}).find("нет DAT-файла с играми"), std::string::npos);
    EXPECT_NE(refusal({dat, damaged}).find("damaged.dat, строка 2: кавычка не закрыта"), std::string::npos);
    EXPECT_NE(refusal({folder.path() / "missing.dat"}).find(folder.path().string() + "/missing.dat: нет такого файла"),
              std::string::npos);
}

} // namespace
} // namespace gamarium::dat
