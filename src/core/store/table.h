#pragma once

#include "core/files/files.h"
#include "core/store/field.h"
#include "core/store/record_fields.h"
#include "core/store/record_order.h"
#include "core/store/schema.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gamarium::store {

namespace sqlite {
class Database;
class Statement;
} // namespace sqlite

enum class TableState { Inactive, Browse, Edit, Insert };

// Texts for fields named by their names, as a window
// collects them from its controls.
using RecordValues = std::vector<std::pair<std::string, text::StoredText>>;

// A record's identity: it stays with the record whatever is inserted or
// deleted around it, and is never given to another record of the table.
// 0 names no record.
using RecordId = std::int64_t;

// What happened to a table, as its listeners hear it: one event per thing
// that happened, after it happened (a move that saves the change under way
// first is heard as Saved, then Moved).
struct ChangeEvent {
    enum class Kind {
        Opened,       // the table was opened
        Reloaded,     // many records may have changed (a tool, a transaction): look at it anew
        Closed,
        Moved,        // the cursor is on another record, or stopped at an end
        Began,        // a change of the current record, or a new record, began
        ValueWritten, // a value went into `field` of the record being changed
        Cancelled,    // the change under way was dropped
        Saved,        // the change of `record` was stored; the cursor is still on it
        Inserted,     // the new `record` was stored at `position`; the cursor is on it
        Deleted,      // `record` was removed from `position`; the cursor is on the record now there
    };
    Kind kind;
    RecordId record = 0;
    std::size_t position = 0; // 1-based
    const Field* field = nullptr;
};

// A table of the program: a list of records in position order with a
// cursor on the current record. Each table is one file; every post is one
// committed transaction, so a crash loses at most the record being changed.
// An open table holds its file for itself: another copy of the program gets
// an "in use" error instead of writing beside it.
class Table {
public:
    // The table `name` (Windows-1251, e.g. "games.db") in `folder`; the file
    // is found whatever the letter case of its name.
    Table(files::Path folder, std::string name);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Makes the table anew from the schema, replacing a table of that name.
    static void create(const files::Path& folder, const std::string& name, const TableSchema& schema);
    // Removes every record of a closed table; the structure stays.
    static void empty(const files::Path& folder, const std::string& name);

    void open();
    // Drops a change not yet posted.
    void close();
    bool isOpen() const { return state_ != TableState::Inactive; }
    // True when the file or its folder may not be written (a CD, another
    // user's folder): the table can be read, and a post fails.
    bool readOnly() const;
    TableState state() const { return state_; }
    const std::string& name() const { return name_; }

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    Field& field(int index);
    // One of the program's own fields (core/store/record_fields.h).
    Field& field(FieldKey key) { return fieldByName(key.name()); }
    // A field named from outside the program, whatever its letter case.
    Field& fieldByName(std::string_view name);
    Field* findField(std::string_view name);

    // Moves. A change under way is posted first if modified, dropped if not.
    void first();
    void last();
    void next();
    void prior();
    // Moves by n records, stopping at the first or last; returns the moves made.
    int moveBy(int n);
    // Goes to the record at the 1-based `position` as first() and then
    // moveBy(position - 1) would, reading only the record it lands on.
    void moveToPosition(std::int64_t position);
    // Reads every record in position order with one statement, for a pass
    // over the whole table (a lookup per record costs many times more).
    // While `visit` runs, the named fields hold the record at `position`
    // (0-based) and the others are null; afterwards the cursor is back on
    // the record it was on, and listeners hear nothing. A change under way
    // is posted first.
    void forEachRecord(const std::vector<FieldKey>& fields,
                       const std::function<void(std::size_t position)>& visit);
    // The same for the records at the 0-based `positions` alone, in that
    // order, every field read: a few records of a large table without a
    // move. Throws Error for a position beyond the last record.
    void forRecordsAt(const std::vector<std::size_t>& positions,
                      const std::function<void(std::size_t position)>& visit);
    // As forEachRecord, but the fields stay null: `visit` is handed the
    // named fields as the table file keeps them (texts in UTF-8, integers in
    // decimal, null as empty), so that a pass over every record converts
    // only what it keeps. text::fromUtf8 of a stored text is the field's text.
    void forEachStoredRecord(const std::vector<FieldKey>& fields,
                             const std::function<void(std::size_t position, std::span<const std::string_view> stored)>& visit);
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    // Starts a new empty record after the last one / before the current one.
    void append();
    void insert();
    // Starts changing the current record; on an empty table a new record.
    void edit();
    void post();
    // Writes each text into its field as setAsString does, then posts. A
    // value a field refuses stops there: nothing is posted, the change stays.
    void post(const RecordValues& values);
    // Writes each text into its field (a change must be under way).
    void setValues(const RecordValues& values);
    void cancel();
    // Removes the current record (a new record not yet posted is dropped).
    void remove();

    // Runs `hook` before each write to the file (a post, a delete); a hook
    // that throws stops the write before anything is written. The base
    // session takes its restore point here.
    void setBeforeWrite(std::function<void()> hook);
    // The open table file, for a copy of it as a whole.
    sqlite::Database& database();

    // Runs `work` (posts, deletes) as one transaction: all of it is stored,
    // or on an error none of it, and the cursor goes back to the first record.
    void runAsOneTransaction(const std::function<void()>& work);

    int recordCount() const;
    // 1-based position of the current record; 0 on an empty table.
    int recordNumber() const;
    // The current record's identity; 0 on an empty table or a new record.
    RecordId recordId() const;
    // Goes to the record with that identity as moveToPosition would go to
    // its position; false (and no move) when the table has no such record.
    bool moveToRecord(RecordId id);
    bool isEmpty() const { return order_.empty(); }
    bool modified() const { return modified_; }
    // How many records have been read from the file since the table opened.
    std::uint64_t recordsRead() const { return recordsRead_; }

    // Listeners hear what happened (ChangeEvent). A listener only reads:
    // changing the table while its listeners are being told fails.
    using ChangeListener = std::function<void(const ChangeEvent& event)>;
    int addChangeListener(ChangeListener listener);
    void removeChangeListener(int id);

    // While one lives, many records change (a whole-base tool): listeners
    // still hear each event, and changingMany() tells them that one
    // Reloaded (or, when nothing was stored, one Moved) follows at its end,
    // so that a view costly to keep in step may wait for that.
    class ManyChanges {
    public:
        explicit ManyChanges(Table& table);
        ~ManyChanges() noexcept(false);
        ManyChanges(const ManyChanges&) = delete;
        ManyChanges& operator=(const ManyChanges&) = delete;

    private:
        Table& table_;
    };
    bool changingMany() const { return manyChanges_ > 0; }

private:
    friend class Field;
    const FieldValue& bufferValue(int index) const { return buffer_[static_cast<std::size_t>(index)]; }
    FieldValue& changeBufferValue(int index);

    void requireOpen() const;
    // Refuses a change asked for by a listener while it is being told of one.
    void requireQuiet() const;
    // Writes a change under way if modified, drops it if not, telling
    // listeners which; true when there was one (the state changed).
    bool checkBrowseMode();
    // Stores the change under way; the event that tells of it.
    ChangeEvent writeChange();
    void aboutToWrite();
    void dropChange();
    void moveTo(std::size_t position);
    void startNewRecord(std::size_t position);
    void loadCurrent();
    void readKeepingCursor(const std::function<void()>& read);
    void readValue(sqlite::Statement& statement, int column, int index);
    // Steps through every record in position order with the named fields'
    // columns selected (after the record's id), calling `row` for each.
    void scanRecords(const std::vector<FieldKey>& fields,
                     const std::function<void(sqlite::Statement& scan, std::size_t position)>& row);
    void bindBuffer(sqlite::Statement& statement);
    void notify(ChangeEvent event);
    void notifyWritten(const Field& field);
    // An event about the current record (or the new one being made).
    ChangeEvent eventHere(ChangeEvent::Kind kind) const;
    void endManyChanges();
    void prepareStatements();
    void loadOrder();

    files::Path folder_;
    std::string name_;
    std::unique_ptr<sqlite::Database> db_;
    std::unique_ptr<sqlite::Statement> select_, update_, insert_, delete_, rekey_;
    std::vector<Field> fields_;
    std::vector<FieldValue> buffer_;
    RecordOrder order_;
    std::size_t current_ = 0;     // position of the current record
    std::size_t insertAt_ = 0;    // position of a new record while inserting
    TableState state_ = TableState::Inactive;
    bool modified_ = false;
    bool bof_ = true;
    bool eof_ = true;
    std::uint64_t recordsRead_ = 0;
    bool notifying_ = false;
    int manyChanges_ = 0;
    bool storedMany_ = false; // something was stored while changingMany()
    std::vector<std::pair<int, ChangeListener>> listeners_;
    std::function<void()> beforeWrite_;
    int nextListenerId_ = 1;
};

} // namespace gamarium::store
