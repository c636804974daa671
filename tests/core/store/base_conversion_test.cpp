#include "core/error.h"
#include "core/files/files.h"
#include "core/store/base_conversion.h"
#include "core/store/catalogue.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/paradox_writer.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace gamarium::store {
namespace {

using gamarium::testing::declareCodePage;
using gamarium::testing::OldField;
using gamarium::testing::oldFieldsOf;
using gamarium::testing::OldRow;
using gamarium::testing::TempFolder;
using gamarium::testing::writeOldTable;
namespace fs = std::filesystem;

std::string memoOf(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += i % 50 == 49 ? '\n' : static_cast<char>('\xE0' + i % 32);
    return text;
}

// A game row with every field set from `i`; a few left null.
OldRow gameRow(int i) {
    OldRow row;
    for (const FieldDef& def : gameTableSchema().fields) {
        if (def.type == FieldType::SmallInt || def.type == FieldType::Integer)
            row.push_back(def.name == "Year" && i % 4 == 0 ? std::nullopt
                                                            : std::optional<std::string>(std::to_string(i * 7 - 20)));
        else if (def.type == FieldType::Memo)
            row.push_back(def.name == "Text2" ? std::nullopt : std::optional<std::string>(memoOf(static_cast<std::size_t>(i * 131 % 2600 + 1))));
        else
            row.push_back(def.name == "Region" ? std::nullopt
                                                : std::optional<std::string>(("\xC8\xE3\xF0\xE0 " + std::to_string(i)).substr(0, static_cast<std::size_t>(def.size))));
    }
    return row;
}

OldRow patchRow(int i) {
    return {std::to_string(i), "\xCF\xE0\xF2\xF7 " + std::to_string(i), "100", std::nullopt, "ru", "\xC0\xE2\xF2\xEE\xF0", "1999"};
}

// The head of a Paradox index file of the given type (1 primary, 3 to 8
// secondary): record size, header size, type, block size, version.
std::string indexHead(char type) {
    std::string head(0x800, '\0');
    head.replace(0, 6, std::string{'\x04', '\0', '\0', '\x08', type, '\x02'});
    head[0x39] = '\x0C';
    return head;
}

class Conversion : public ::testing::Test {
protected:
    fs::path base() const { return home_.path() / "base"; }

    // The base "old": 20 games over four blocks (one deleted again), 3 patches.
    void writeOldBase(int games = 21) {
        prepareFolders(home_.path());
        for (int i = 0; i < games; ++i) games_.push_back(gameRow(i));
        writeOldTable(base() / "old.db", oldFieldsOf(gameTableSchema()), games_);
        gamarium::testing::deleteOldRecord(base() / "old.db", 3);
        games_.erase(games_.begin() + 3);
        for (int i = 1; i <= 3; ++i) patches_.push_back(patchRow(i));
        writeOldTable(base() / "old_patch.db", oldFieldsOf(patchTableSchema()), patches_);
        std::ofstream(base() / "old.px", std::ios::binary) << indexHead('\x01');
        std::ofstream(base() / "old.X02", std::ios::binary) << indexHead('\x03');
        for (const char* side : {"old.tv", "old_patch.fam", "old_patch.val"})
            std::ofstream(base() / side) << side;
        for (const auto& entry : fs::directory_iterator(base()))
            before_[entry.path().filename().string()] = files::readFile(entry.path());
    }

    // The old files, where they were and as they were.
    void expectOldFilesInPlace() {
        for (const auto& [name, bytes] : before_) EXPECT_EQ(files::readFile(base() / name), bytes) << name;
        EXPECT_FALSE(fs::exists(base() / "paradox"));
        for (const auto& entry : fs::directory_iterator(base()))
            EXPECT_TRUE(before_.count(entry.path().filename().string()) || entry.path().filename() == ".gamarium-lock")
                << entry.path();
    }

    static void expectTableHolds(const fs::path& folder, const std::string& name, const TableSchema& schema,
                                 const std::vector<OldRow>& rows) {
        Table table(folder, name);
        table.open();
        ASSERT_EQ(table.recordCount(), static_cast<int>(rows.size())) << name;
        for (std::size_t r = 0; r < rows.size(); ++r, table.next()) {
            for (std::size_t f = 0; f < schema.fields.size(); ++f) {
                const Field& field = table.fieldByName(schema.fields[f].name);
                EXPECT_EQ(field.isNull(), !rows[r][f]) << name << " record " << r << " " << field.name();
                EXPECT_EQ(field.asString().bytes(), rows[r][f].value_or("")) << name << " record " << r << " " << field.name();
            }
        }
    }

    TempFolder home_;
    std::vector<OldRow> games_, patches_;
    std::map<std::string, std::string> before_;
};

TEST_F(Conversion, ConvertsBothTablesAndMovesTheOldFilesAside) {
    writeOldBase();
    EXPECT_EQ(paradoxTablesOf(home_.path(), "old"), (std::vector<std::string>{"old.db", "old_patch.db"}));
    EXPECT_EQ(findBases(home_.path()), std::vector<std::string>{"old"});

    const BaseConversion result = convertBase(home_.path(), "old");

    ASSERT_EQ(result.tables.size(), 2u);
    EXPECT_EQ(reportLine(result.tables[0]), "old.db: записей 20, заменено символов 0, обрезано мемо 0");
    EXPECT_EQ(reportLine(result.tables[1]), "old_patch.db: записей 3, заменено символов 0, обрезано мемо 0");
    expectTableHolds(base(), "old.db", gameTableSchema(), games_);
    expectTableHolds(base(), "old_patch.db", patchTableSchema(), patches_);
    EXPECT_TRUE(paradoxTablesOf(home_.path(), "old").empty());

    EXPECT_EQ(result.oldFilesFolder.parent_path(), base() / "paradox");
    EXPECT_TRUE(result.oldFilesFolder.filename().string().starts_with("old-20"));
    for (const auto& [name, bytes] : before_) {
        EXPECT_EQ(files::readFile(result.oldFilesFolder / name), bytes) << name;
        const bool table = name == "old.db" || name == "old_patch.db";
        EXPECT_EQ(fs::exists(base() / name), table) << name;
    }
    for (const auto& entry : fs::directory_iterator(base()))
        EXPECT_FALSE(files::isTemporaryName(entry.path().filename().string())) << entry.path();
    EXPECT_THROW(convertBase(home_.path(), "old"), Error) << "nothing left to convert";
}

// Files that only share the table's name stay where they are: the ending
// has to be exactly one of a Paradox table's, and an index or memo file
// has to begin as one.
TEST_F(Conversion, TheUsersOwnFilesStay) {
    writeOldBase();
    const std::map<std::string, std::string> own = {
        {"Old.xls", "a spreadsheet"},
        {"Old.xml", "<xml/>"},
        {"old.X0G", indexHead('\x03')},  // G is no hexadecimal digit
        {"old.Y1", indexHead('\x04')},   // one digit
        {"old.X01", "not an index"},
        {"old.PX", "not an index either"},
        {"old.fam1", "not a family file"},
        {"old.Xa", "two letters"},
        {"old.dbf", "a dBase table"},
    };
    for (const auto& [name, bytes] : own) std::ofstream(base() / name, std::ios::binary) << bytes;
    std::ofstream(base() / "old.Y0a", std::ios::binary) << indexHead('\x04');

    const BaseConversion result = convertBase(home_.path(), "old");
    for (const auto& [name, bytes] : own) {
        EXPECT_EQ(files::readFile(base() / name), bytes) << name << " stays in place";
        EXPECT_FALSE(fs::exists(result.oldFilesFolder / name)) << name;
    }
    EXPECT_FALSE(fs::exists(base() / "old.Y0a"));
    EXPECT_TRUE(fs::exists(result.oldFilesFolder / "old.Y0a")) << "a secondary index of the table moves";
}

TEST_F(Conversion, TextsArriveInWindows1251) {
    prepareFolders(home_.path());
    struct Case {
        int codePage;
        std::string stored;
        std::string converted;
        int replaced;
    };
    const Case cases[] = {
        {1251, "\xCC\xE0\xF0\xE8\xEE", "\xCC\xE0\xF0\xE8\xEE", 0},
        {866, "\x8C\xA0\xE0\xA8\xAE \xB0", "\xCC\xE0\xF0\xE8\xEE ?", 1},
        {1252, "caf\xE9 \x80", "caf? \x88", 1},
    };
    for (const Case& c : cases) {
        OldRow row(27, std::nullopt), patch(7, std::nullopt);
        row[2] = c.stored;  // Name
        row[17] = c.stored + std::string(300, 'x') + c.stored; // Text1, through the memo file
        writeOldTable(base() / "cp.db", oldFieldsOf(gameTableSchema()), {row}, c.codePage);
        writeOldTable(base() / "cp_patch.db", oldFieldsOf(patchTableSchema()), {patch});
        const BaseConversion result = convertBase(home_.path(), "cp");
        EXPECT_EQ(result.tables[0].replaced, 3 * c.replaced) << c.codePage;
        Table table(base(), "cp.db");
        table.open();
        EXPECT_EQ(table.fieldByName("Name").asString().bytes(), c.converted) << c.codePage;
        EXPECT_EQ(table.fieldByName("Text1").asString().bytes(), c.converted + std::string(300, 'x') + c.converted);
        EXPECT_TRUE(table.fieldByName("Year").isNull());
        table.close();
        fs::remove_all(base());
        prepareFolders(home_.path());
    }
}

TEST_F(Conversion, AMissingMemoFileKeepsTheRecordsPartAndSaysSo) {
    writeOldBase(5);
    fs::remove(base() / "old.mb");
    const BaseConversion result = convertBase(home_.path(), "old");
    // Memos of 1, 132, 263 and 525 characters (Text1, Text3, Text4 each): the last two are cut.
    EXPECT_EQ(result.tables[0].memosCut, 6);
    Table table(base(), "old.db");
    table.open();
    table.last();
    EXPECT_EQ(table.fieldByName("Text1").asString().bytes(), memoOf(240));
}

// Refused tables: a message naming what is wrong, the old files where they
// were, and neither a new table nor a folder of old files.
TEST_F(Conversion, ARefusedConversionLeavesTheOldFiles) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& base)> spoil;
        const char* message;
    };
    auto gameFieldsWith = [](const std::function<void(std::vector<OldField>&)>& change) {
        return [change](const fs::path& folder) {
            std::vector<OldField> fields = oldFieldsOf(gameTableSchema());
            change(fields);
            writeOldTable(folder / "old.db", fields, {OldRow(fields.size(), std::nullopt)});
        };
    };
    const Case cases[] = {
        {"encrypted", [](const fs::path& b) { gamarium::testing::patchFile(b / "old_patch.db", 0x5C, "\x01"); },
         "зашифрована"},
        {"a damaged block", [](const fs::path& b) { gamarium::testing::patchFile(b / "old_patch.db", 0x800, "\x09"); },
         "повреждена"},
        {"a damaged memo", [](const fs::path& b) { gamarium::testing::patchFile(b / "old.mb", 0x1000, "\x09"); },
         "old.mb"},
        {"a cut table", [](const fs::path& b) { fs::resize_file(b / "old.db", 0x900); }, "обрезан"},
        {"a field missing", gameFieldsWith([](auto& f) { f.erase(f.begin() + 1); }), "нет поля «Sid»"},
        {"a field of another type", gameFieldsWith([](auto& f) { f[6] = {"Year", pxfShort, 2}; }), "«Year»"},
        {"a field too many", gameFieldsWith([](auto& f) { f.push_back({"Colour", pxfAlpha, 10}); }), "«Colour»"},
        {"an unknown code page", [](const fs::path& b) { declareCodePage(b / "old_patch.db", 932); }, "932"},
    };
    for (const Case& c : cases) {
        writeOldBase();
        c.spoil(base());
        before_.clear();
        for (const auto& entry : fs::directory_iterator(base()))
            before_[entry.path().filename().string()] = files::readFile(entry.path());
        try {
            convertBase(home_.path(), "old");
            ADD_FAILURE() << c.what << ": converted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
        expectOldFilesInPlace();
        fs::remove_all(base());
        games_.clear();
        patches_.clear();
    }
}

TEST_F(Conversion, ReplacingAnOldBaseMovesItsFilesAside) {
    writeOldBase();
    EXPECT_THROW(createBase(home_.path(), "old", false), Error);
    createBase(home_.path(), "old", true);
    for (const std::string& table : {gameTableName("old"), patchTableName("old")}) {
        Table t(base(), table);
        t.open();
        EXPECT_EQ(t.recordCount(), 0);
    }
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(base() / "paradox")) kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    for (const auto& [name, bytes] : before_) EXPECT_EQ(files::readFile(kept.front() / name), bytes) << name;
    EXPECT_FALSE(fs::exists(base() / "old.mb"));
}

TEST_F(Conversion, OnlyTheOldTableOfABaseIsConverted) {
    writeOldBase();
    fs::remove(base() / "old_patch.db");
    createBase(home_.path(), "new", false);
    fs::rename(base() / "new_patch.db", base() / "old_patch.db");
    EXPECT_EQ(paradoxTablesOf(home_.path(), "old"), std::vector<std::string>{"old.db"});
    const BaseConversion result = convertBase(home_.path(), "old");
    ASSERT_EQ(result.tables.size(), 1u);
    expectTableHolds(base(), "old.db", gameTableSchema(), games_);
    EXPECT_THROW(convertBase(home_.path(), "new"), Error);
}

} // namespace
} // namespace gamarium::store
