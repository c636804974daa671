#include "core/error.h"
#include "core/files/files.h"
#include "core/paradox/code_page.h"
#include "core/paradox/paradox_table.h"
#include "core/support/paradox_bulk_writer.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace gamarium::paradox {
namespace {

using gamarium::testing::OldField;
using gamarium::testing::OldRow;
using gamarium::testing::patchFile;
using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

const std::vector<OldField> kFields = {
    {"N", pxfShort, 2}, {"Name", pxfAlpha, 80}, {"Year", pxfLong, 4}, {"Text1", pxfMemoBLOb, 250}};
constexpr std::size_t kRecordSize = 2 + 80 + 4 + 250;
constexpr std::size_t kHeaderSize = 0x800;
constexpr std::size_t kBlockSize = 0x4000; // pxlib's blocks: 16 KiB, 48 of these records

std::string memoOf(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

// 120 records over three blocks: numbers from -60, every third year null,
// memos from none to 3,000 characters (kept in the record, shared memo
// blocks, blocks of their own).
std::vector<OldRow> sampleRows() {
    std::vector<OldRow> rows;
    for (int i = 0; i < 120; ++i) {
        const std::size_t memo = static_cast<std::size_t>(i * 97 % 3000);
        rows.push_back({std::to_string(i - 60), "\xC8\xE3\xF0\xE0 " + std::to_string(i),
                        i % 3 == 0 ? std::nullopt : std::optional<std::string>(std::to_string(1980 + i)),
                        memo == 0 ? std::nullopt : std::optional<std::string>(memoOf(memo))});
    }
    return rows;
}

std::vector<std::vector<Value>> readAll(const fs::path& file) {
    ParadoxTable table(file);
    std::vector<std::vector<Value>> records;
    table.readRecords([&](const std::vector<Value>& values) { records.push_back(values); });
    return records;
}

TEST(ParadoxTable, ReadsWhatPxlibWrote) {
    TempFolder folder;
    const fs::path file = folder.path() / "games.db";
    std::vector<OldRow> rows = sampleRows();
    gamarium::testing::writeOldTable(file, kFields, rows);
    gamarium::testing::deleteOldRecord(file, 5);
    rows.erase(rows.begin() + 5);
    ASSERT_TRUE(isParadoxTable(file));

    ParadoxTable table(file);
    ASSERT_EQ(table.fields().size(), kFields.size());
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        EXPECT_EQ(table.fields()[i].name, kFields[i].name);
        EXPECT_EQ(table.fields()[i].size, kFields[i].size);
    }
    EXPECT_TRUE(table.hasMemoFile());
    const auto records = readAll(file);
    ASSERT_EQ(records.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<Value>& got = records[r];
        EXPECT_EQ(got[0].integer, std::stoi(*rows[r][0])) << r;
        EXPECT_EQ(got[1].text, *rows[r][1]) << r;
        EXPECT_EQ(got[2].null, !rows[r][2]) << r;
        EXPECT_EQ(got[2].integer, rows[r][2] ? std::stoi(*rows[r][2]) : 0) << r;
        EXPECT_EQ(got[3].null, !rows[r][3]) << r;
        EXPECT_EQ(got[3].text, rows[r][3].value_or("")) << r;
        EXPECT_FALSE(got[3].cut);
    }
}

bool sameValues(const std::vector<Value>& a, const std::vector<Value>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Value& x, const Value& y) {
        return x.null == y.null && x.integer == y.integer && x.text == y.text && x.cut == y.cut;
    });
}

// The large tables of the kill test and the benchmark are laid out by hand;
// they read as what pxlib writes.
TEST(ParadoxTable, LargeTablesReadAsPxlibsDo) {
    TempFolder folder;
    const std::vector<OldRow> rows = sampleRows();
    gamarium::testing::writeOldTable(folder.path() / "pxlib.db", kFields, rows);
    gamarium::testing::writeLargeOldTable(folder.path() / "large.db", kFields, rows);
    const auto expected = readAll(folder.path() / "pxlib.db");
    const auto got = readAll(folder.path() / "large.db");
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t r = 0; r < got.size(); ++r) EXPECT_TRUE(sameValues(got[r], expected[r])) << r;
}

TEST(ParadoxTable, FollowsTheChainOfBlocksNotTheFileOrder) {
    TempFolder folder;
    const fs::path file = folder.path() / "games.db";
    const std::vector<OldRow> rows = sampleRows();
    gamarium::testing::writeOldTable(file, kFields, rows);
    // Blocks 2 and 3 change places in the file; the chain runs 1, 3, 2.
    std::string bytes = files::readFile(file);
    const std::size_t second = kHeaderSize + kBlockSize, third = second + kBlockSize;
    std::string block2 = bytes.substr(second, kBlockSize), block3 = bytes.substr(third, kBlockSize);
    bytes.replace(second, kBlockSize, block3);
    bytes.replace(third, kBlockSize, block2);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    patchFile(file, kHeaderSize, std::string("\x03\x00", 2));          // 1 -> 3
    patchFile(file, third, std::string("\x02\x00\x01\x00", 4));        // 3 -> 2, back to 1
    patchFile(file, second, std::string("\x00\x00\x03\x00", 4));       // 2 ends, back to 3

    const auto records = readAll(file);
    ASSERT_EQ(records.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(records[r][1].text, *rows[r][1]) << r;
}

TEST(ParadoxTable, MissingMemoFileKeepsThePartInTheRecord) {
    TempFolder folder;
    const fs::path file = folder.path() / "games.db";
    gamarium::testing::writeOldTable(file, kFields, {{"1", "a", "1", memoOf(600)}, {"2", "b", "2", memoOf(200)}});
    fs::remove(folder.path() / "games.mb");
    const auto records = readAll(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][3].text, memoOf(240));
    EXPECT_TRUE(records[0][3].cut);
    EXPECT_EQ(records[1][3].text, memoOf(200));
    EXPECT_FALSE(records[1][3].cut);
}

std::string littleEndian(std::uint32_t value, std::size_t width) {
    return gamarium::testing::lowFirstBytes(value, width);
}

// Damage of every kind is refused with a message, never read past.
TEST(ParadoxTable, DamagedTablesAreRefused) {
    struct Case {
        const char* what;
        const char* file; // "db" or "mb"
        std::size_t offset;
        std::string bytes;
        std::size_t cutTo = 0; // else the file is cut to this size
        const char* message;
    };
    const std::size_t firstMemoPointer = 0x1000 + 12 + 63 * 5;
    const Case cases[] = {
        {"encrypted", "db", 0x5C, littleEndian(0x12345678, 4), 0, "зашифрована"},
        {"next block past the end", "db", kHeaderSize, littleEndian(900, 2), 0, "за концом файла"},
        {"chain in a circle", "db", kHeaderSize, littleEndian(1, 2), 0, "замкнута"},
        {"record count of a block", "db", kHeaderSize + 4, littleEndian(kRecordSize * 60, 2), 0, "число записей"},
        {"record count of the header", "db", 0x06, littleEndian(7, 4), 0, "в заголовке записей 7"},
        {"field sizes", "db", 0x7B, std::string(1, '\x10'), 0, "длины полей"},
        {"field count", "db", 0x21, littleEndian(300, 2), 0, "неверное описание"},
        {"cut in the blocks", "db", 0, "", kHeaderSize + kBlockSize + 100, "обрезан"},
        {"cut in the header", "db", 0, "", 0x60, "обрезан в заголовке"},
        {"memo block type", "mb", 0x1000, std::string(1, '\x07'), 0, "не тот блок"},
        {"memo pointer", "mb", firstMemoPointer, std::string(2, '\0'), 0, "неверный указатель"},
        {"memo file cut", "mb", 0, "", 0x1800, "повреждён"},
        {"memo file cut in the pointers", "mb", 0, "", 0x1000 + 100, "блок обрезан"},
        {"memo header", "mb", 0, std::string(1, '\x05'), 0, "нет заголовка"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const fs::path file = folder.path() / "games.db";
        gamarium::testing::writeOldTable(file, kFields, sampleRows());
        const fs::path spoiled = folder.path() / (std::string("games.") + c.file);
        if (c.cutTo)
            fs::resize_file(spoiled, c.cutTo);
        else
            patchFile(spoiled, c.offset, c.bytes);
        try {
            readAll(file);
            ADD_FAILURE() << c.what << ": read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

// Bytes changed at random all over both files, some files cut short: each
// table is read or refused with an Error, and nothing is read outside the
// files (the ASan build of this test watches that).
TEST(ParadoxTable, RandomDamageIsReadOrRefused) {
    TempFolder folder;
    const fs::path file = folder.path() / "games.db";
    const fs::path memo = folder.path() / "games.mb";
    gamarium::testing::writeOldTable(file, kFields, sampleRows());
    const std::string table = files::readFile(file), memos = files::readFile(memo);
    std::mt19937 random(7);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damagedTable = table, damagedMemos = memos;
        std::string& target = round % 2 ? damagedMemos : damagedTable;
        const std::size_t headerBiased = round % 4 == 0 ? 0x200 : target.size();
        for (int k = 0; k < 4; ++k) target[random() % headerBiased] = static_cast<char>(random());
        if (round % 5 == 0) target.resize(random() % target.size());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << damagedTable;
        std::ofstream(memo, std::ios::binary | std::ios::trunc) << damagedMemos;
        try {
            readAll(file);
        } catch (const Error&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(CodePage, ConvertsToWindows1251) {
    struct Case {
        int codePage;
        std::string in;
        std::string out;
        int replaced;
    };
    const Case cases[] = {
        {0, "\xCC\xE0\xF0\xE8\xEE", "\xCC\xE0\xF0\xE8\xEE", 0},
        {1251, "\xCC\xE0\xF0\xE8\xEE \xA8\xB8", "\xCC\xE0\xF0\xE8\xEE \xA8\xB8", 0},
        {866, "\x8C\xA0\xE0\xA8\xAE \xF0\xF1 \xFC", "\xCC\xE0\xF0\xE8\xEE \xA8\xB8 \xB9", 0},
        {866, "\xB0\xDB x", "?? x", 2},
        {1252, "\x80 caf\xE9", "\x88 caf?", 1},
        {437, "\x82t\x82", "?t?", 2},
        {850, "\xA9 ok", "\xAE ok", 0},
    };
    for (const Case& c : cases) {
        int replaced = 0;
        EXPECT_EQ(CodePage(c.codePage).toCp1251(c.in, replaced), c.out) << c.codePage << " " << c.in;
        EXPECT_EQ(replaced, c.replaced) << c.codePage << " " << c.in;
    }
    EXPECT_THROW(CodePage(932), Error);
}

TEST(ParadoxTable, OnlyParadoxTablesAreTakenForOne) {
    TempFolder folder;
    const fs::path table = folder.path() / "games.db";
    gamarium::testing::writeOldTable(table, kFields, {});
    EXPECT_TRUE(isParadoxTable(table));
    EXPECT_TRUE(readAll(table).empty());
    const std::pair<const char*, std::string> others[] = {
        {"sqlite.db", std::string("SQLite format 3") + '\0' + std::string(100, 'x')},
        {"empty.db", ""},
        {"short.db", "\x50\x01\x00\x08\x02\x10"},
        {"text.db", std::string(200, 'a')},
    };
    for (const auto& [name, content] : others) {
        std::ofstream(folder.path() / name, std::ios::binary) << content;
        EXPECT_FALSE(isParadoxTable(folder.path() / name)) << name;
    }
    EXPECT_FALSE(isParadoxTable(folder.path()));
    EXPECT_FALSE(isParadoxTable(folder.path() / "missing.db"));
}

} // namespace
} // namespace gamarium::paradox
