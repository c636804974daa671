#include "core/error.h"
#include "core/files/files.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace gamarium::store {
namespace {

using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

std::string openError(const fs::path& folder, const std::string& name) {
    Table table(folder, name);
    try {
        table.open();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(TableFile, ForeignAndDamagedFilesAreRefusedAndNeverWritten) {
    TempFolder folder;
    // A real table, to cut short.
    Table::create(folder.path(), "real.db", gameTableSchema());
    {
        Table table(folder.path(), "real.db");
        table.open();
        for (int i = 0; i < 300; ++i) {
            table.append();
            table.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(2000, 'x')));
            table.post();
        }
    }
    const std::string real = files::readFile(folder.path() / "real.db");
    std::mt19937 random(7);
    std::string noise(8192, '\0');
    for (char& c : noise) c = static_cast<char>(random());

    const std::pair<const char*, std::string> cases[] = {
        {"empty.db", ""},
        {"text.db", "just some text, not a table\n"},
        {"random.db", noise},
        {"paradox.db", std::string("\x02\x0B\x00\x08", 4) + noise},
        {"half.db", real.substr(0, real.size() / 2)},
        {"cut.db", real.substr(0, real.size() - 100)},
        {"header.db", real.substr(0, 100)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        writeBytes(folder.path() / name, bytes);
        const std::string message = openError(folder.path(), name);
        EXPECT_NE(message, "");
        EXPECT_NE(message.find(name), std::string::npos) << message;
        EXPECT_THROW(Table::create(folder.path(), name, gameTableSchema()), Error);
        EXPECT_THROW(Table::empty(folder.path(), name), Error);
        EXPECT_EQ(files::readFile(folder.path() / name), bytes);
        EXPECT_FALSE(fs::exists(folder.path() / (std::string(name) + "-wal")));
    }
}

TEST(TableFile, AnotherSQLiteDatabaseIsNotATable) {
    TempFolder folder;
    const fs::path file = folder.path() / "other.db";
    ASSERT_EQ(std::system(("sqlite3 '" + file.string() + "' 'create table t(a); insert into t values(1);'").c_str()), 0);
    const std::string before = files::readFile(file);
    EXPECT_NE(openError(folder.path(), "other.db").find("не является таблицей"), std::string::npos);
    EXPECT_EQ(files::readFile(file), before);
}

TEST(TableFile, ATableInUseIsRefusedRatherThanSharedByTwoWriters) {
    TempFolder folder;
    Table::create(folder.path(), "games.db", gameTableSchema());
    Table first(folder.path(), "games.db");
    first.open();
    EXPECT_NE(openError(folder.path(), "games.db").find("открыта другой копией"), std::string::npos);
    EXPECT_THROW(Table::empty(folder.path(), "games.db"), Error);
    EXPECT_THROW(Table::create(folder.path(), "games.db", gameTableSchema()), Error);
    first.close();
    EXPECT_EQ(openError(folder.path(), "games.db"), "");
}

TEST(TableFile, FoundWhateverTheLetterCase) {
    TempFolder folder;
    Table::create(folder.path(), "Games.db", gameTableSchema());
    Table table(folder.path(), "games.db");
    table.open();
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_FALSE(fs::exists(folder.path() / "games.db"));
}

// A foreign SQLite file that happens to carry the program's mark is still
// refused, and it is not switched to another journal mode on the way.
TEST(TableFile, AForeignFileWithTheProgramsMarkIsNotWritten) {
    TempFolder folder;
    const fs::path file = folder.path() / "marked.db";
    ASSERT_EQ(std::system(("sqlite3 '" + file.string() +
                           "' 'pragma application_id=1195461970; create table t(a); insert into t values(1);'")
                              .c_str()),
              0);
    const std::string before = files::readFile(file);
    EXPECT_NE(openError(folder.path(), "marked.db").find("не является таблицей"), std::string::npos);
    EXPECT_THROW(Table::empty(folder.path(), "marked.db"), Error);
    EXPECT_THROW(Table::create(folder.path(), "marked.db", gameTableSchema()), Error);
    EXPECT_EQ(files::readFile(file), before);
    EXPECT_FALSE(fs::exists(folder.path() / "marked.db-wal"));
}

void appendNames(const fs::path& folder, int count, const std::string& prefix) {
    Table table(folder, "games.db");
    table.open();
    for (int i = 0; i < count; ++i) {
        table.append();
        table.fieldByName("Name").setAsString(text::StoredText::fromCp1251(prefix + std::to_string(i)));
        table.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(900, 'x')));
        table.post();
    }
}

// The state a kill in the middle of a checkpoint leaves: the table file's
// first page already says the table is longer than the file is, and the
// journal beside it still holds every page of the last transactions. The
// table opens with every record.
TEST(TableFile, ATableCutShortByAKilledCheckpointOpensWhole) {
    TempFolder folder, killed;
    Table::create(folder.path(), "games.db", gameTableSchema());
    appendNames(folder.path(), 10, "early");
    const auto sizeBefore = fs::file_size(folder.path() / "games.db");
    std::string journal;
    {
        Table table(folder.path(), "games.db");
        table.open();
        for (int i = 0; i < 200; ++i) {
            table.append();
            table.fieldByName("Name").setAsString(text::StoredText::fromCp1251("late" + std::to_string(i)));
            table.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(900, 'x')));
            table.post();
        }
        journal = files::readFile(folder.path() / "games.db-wal");
    } // closing folds the journal into the file
    const std::string whole = files::readFile(folder.path() / "games.db");
    ASSERT_GT(whole.size(), sizeBefore);
    writeBytes(killed.path() / "games.db", whole.substr(0, sizeBefore));
    writeBytes(killed.path() / "games.db-wal", journal);

    Table table(killed.path(), "games.db");
    ASSERT_NO_THROW(table.open());
    EXPECT_EQ(table.recordCount(), 210);
    table.last();
    EXPECT_EQ(table.fieldByName("Name").asString().bytes(), "late199");
    table.close();
    EXPECT_EQ(fs::file_size(killed.path() / "games.db"), whole.size());
}

// A child process posts records one by one and reports each post through a
// pipe; it is killed in the middle of its run. Every reported record must be
// in the table afterwards.
TEST(TableFile, AKilledProgramLosesNoPostedRecord) {
    TempFolder folder;
    Table::create(folder.path(), "games.db", gameTableSchema());
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        Table table(folder.path(), "games.db");
        table.open();
        for (int i = 1;; ++i) {
            table.append();
            table.fieldByName("N").setAsInteger(i % 30000);
            table.fieldByName("Text1").setAsString(text::StoredText::fromCp1251(std::string(static_cast<std::size_t>(i % 3000), 'x')));
            table.post();
            if (write(pipeEnds[1], &i, sizeof i) != sizeof i) _exit(1);
        }
    }
    close(pipeEnds[1]);
    int posted = 0;
    for (int value = 0; posted < 400 && read(pipeEnds[0], &value, sizeof value) == sizeof value;) posted = value;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(pipeEnds[0]);

    Table table(folder.path(), "games.db");
    table.open();
    ASSERT_GE(table.recordCount(), posted);
    for (int i = 1; i <= posted; ++i, table.next()) {
        ASSERT_EQ(table.fieldByName("N").asInteger(), i);
        ASSERT_EQ(table.fieldByName("Text1").asString().bytes().size(), static_cast<std::size_t>(i % 3000));
    }
}

} // namespace
} // namespace gamarium::store
