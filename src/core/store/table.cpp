#include "core/store/table.h"

#include "core/error.h"
#include "core/store/sqlite.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace gamarium::store {

Table::Table(files::Path folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}

Table::~Table() {
    listeners_.clear();
    close();
}

void Table::create(const files::Path& folder, const std::string& name, const TableSchema& schema) {
    createTableFile(files::findNoCase(folder, text::StoredText::fromCp1251(name)), schema);
}

void Table::empty(const files::Path& folder, const std::string& name) {
    auto db = openTableFile(files::findNoCase(folder, text::StoredText::fromCp1251(name)));
    removeAllRecords(*db);
}

void Table::open() {
    if (isOpen()) return;
    auto db = openTableFile(files::findNoCase(folder_, text::StoredText::fromCp1251(name_)));
    const TableSchema schema = readSchema(*db);
    db_ = std::move(db);
    fields_.clear();
    for (std::size_t i = 0; i < schema.fields.size(); ++i) fields_.emplace_back(*this, static_cast<int>(i), schema.fields[i]);
    buffer_.assign(fields_.size(), FieldValue{});
    try {
        loadOrder();
        prepareStatements();
    } catch (...) {
        db_.reset();
        throw;
    }
    state_ = TableState::Browse;
    moveTo(0);
    bof_ = true;
    notify(eventHere(ChangeEvent::Kind::Opened));
}

void Table::loadOrder() {
    std::vector<RecordOrder::Row> rows;
    sqlite::Statement order(*db_, "SELECT _id, _order FROM records ORDER BY _order");
    while (order.step()) rows.push_back({order.intAt(0), order.intAt(1)});
    order_.assign(std::move(rows));
}

void Table::runAsOneTransaction(const std::function<void()>& work) {
    checkBrowseMode();
    const ManyChanges many(*this);
    try {
        sqlite::Transaction transaction(*db_);
        work();
        checkBrowseMode();
        transaction.commit();
    } catch (...) {
        // The transaction has been rolled back; the cursor follows the file.
        state_ = TableState::Browse;
        modified_ = false;
        storedMany_ = true;
        try {
            loadOrder();
            moveTo(0);
        } catch (const Error&) {
            // The first error is the one worth reporting.
        }
        throw;
    }
}

void Table::prepareStatements() {
    std::string columns, assignments, placeholders;
    for (const Field& field : fields_) {
        const std::string column = sqlite::quoteIdentifier(text::toUtf8(text::StoredText::fromCp1251(field.name())));
        const char* separator = columns.empty() ? "" : ", ";
        columns += separator + column;
        assignments += separator + column + " = ?";
        placeholders += ", ?";
    }
    select_ = std::make_unique<sqlite::Statement>(*db_, "SELECT " + columns + " FROM records WHERE _id = ?");
    update_ = std::make_unique<sqlite::Statement>(*db_, "UPDATE records SET " + assignments + " WHERE _id = ?");
    insert_ = std::make_unique<sqlite::Statement>(
        *db_, "INSERT INTO records(" + columns + ", _order) VALUES(" + placeholders.substr(2) + ", ?)");
    delete_ = std::make_unique<sqlite::Statement>(*db_, "DELETE FROM records WHERE _id = ?");
    rekey_ = std::make_unique<sqlite::Statement>(*db_, "UPDATE records SET _order = ? WHERE _id = ?");
}

void Table::close() {
    if (!isOpen()) return;
    requireQuiet();
    select_.reset();
    update_.reset();
    insert_.reset();
    delete_.reset();
    rekey_.reset();
    db_.reset();
    fields_.clear();
    buffer_.clear();
    order_.assign({});
    recordsRead_ = 0;
    state_ = TableState::Inactive;
    modified_ = false;
    notify({ChangeEvent::Kind::Closed});
}

bool Table::readOnly() const {
    requireOpen();
    return db_->readOnly();
}

Field& Table::field(int index) {
    requireOpen();
    return fields_.at(static_cast<std::size_t>(index));
}

Field* Table::findField(std::string_view name) {
    for (Field& f : fields_)
        if (text::equalNoCase(f.name(), name)) return &f;
    return nullptr;
}

Field& Table::fieldByName(std::string_view name) {
    if (Field* f = findField(name)) return *f;
    throw Error("Field '" + text::toUtf8(text::StoredText::fromCp1251(name)) + "' not found");
}

FieldValue& Table::changeBufferValue(int index) {
    requireQuiet();
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        throw Error("Dataset not in edit or insert mode");
    modified_ = true;
    return buffer_[static_cast<std::size_t>(index)];
}

void Table::requireOpen() const {
    if (!isOpen()) throw Error("Cannot perform this operation on a closed dataset");
}

void Table::requireQuiet() const {
    if (notifying_) throw std::logic_error("a listener of table " + text::toUtf8(text::StoredText::fromCp1251(name_)) + " tried to change it");
}

bool Table::checkBrowseMode() {
    requireOpen();
    requireQuiet();
    if (state_ == TableState::Browse) return false;
    if (modified_) {
        notify(writeChange());
    } else {
        dropChange();
        notify(eventHere(ChangeEvent::Kind::Cancelled));
    }
    return true;
}

void Table::loadCurrent() {
    if (order_.empty()) {
        std::fill(buffer_.begin(), buffer_.end(), FieldValue{});
        return;
    }
    select_->bindInt(1, order_.at(current_).id);
    if (!select_->step()) {
        select_->reset();
        throw Error("Record not found");
    }
    ++recordsRead_;
    for (int i = 0; i < fieldCount(); ++i)
        readValue(*select_, i, i);
    select_->reset();
}

void Table::readValue(sqlite::Statement& statement, int column, int index) {
    FieldValue& v = buffer_[static_cast<std::size_t>(index)];
    v.null = statement.isNull(column);
    v.integer = 0;
    v.text.clear();
    if (v.null) return;
    if (fields_[static_cast<std::size_t>(index)].isInteger())
        v.integer = statement.intAt(column);
    else
        text::fromUtf8(statement.textViewAt(column), v.text); // into the memory the last record's text had
}

// Runs `read`, which moves the buffer over other records, and puts the
// cursor back on its record afterwards, also when `read` fails.
void Table::readKeepingCursor(const std::function<void()>& read) {
    const std::size_t cursor = current_;
    const auto backToCursor = [&] {
        current_ = cursor;
        loadCurrent();
    };
    try {
        read();
    } catch (...) {
        try {
            backToCursor();
        } catch (const Error&) {
            // The first error is the one worth reporting.
        }
        throw;
    }
    backToCursor();
}

void Table::scanRecords(const std::vector<FieldKey>& fields,
                        const std::function<void(sqlite::Statement& scan, std::size_t position)>& row) {
    checkBrowseMode();
    std::string columns = "_id";
    for (const FieldKey key : fields) columns += ", " + sqlite::quoteIdentifier(text::toUtf8(text::StoredText::fromCp1251(field(key).name())));
    // The table read in the order it is stored in costs no lookup per record.
    const char* order = order_.idsInOrder() ? " ORDER BY _id" : " ORDER BY _order";
    sqlite::Statement scan(*db_, "SELECT " + columns + " FROM records" + order);
    readKeepingCursor([&] {
        std::fill(buffer_.begin(), buffer_.end(), FieldValue{});
        for (std::size_t position = 0; scan.step(); ++position) {
            if (position >= order_.size() || scan.intAt(0) != order_.at(position).id)
                throw Error("The table changed while it was read");
            current_ = position;
            ++recordsRead_;
            row(scan, position);
        }
    });
}

void Table::forRecordsAt(const std::vector<std::size_t>& positions,
                         const std::function<void(std::size_t position)>& visit) {
    checkBrowseMode();
    for (const std::size_t position : positions)
        if (position >= order_.size()) throw Error("Record not found");
    readKeepingCursor([&] {
        for (const std::size_t position : positions) {
            current_ = position;
            loadCurrent();
            visit(position);
        }
    });
}

void Table::forEachRecord(const std::vector<FieldKey>& fields,
                          const std::function<void(std::size_t position)>& visit) {
    std::vector<int> read;
    for (const FieldKey key : fields) read.push_back(field(key).index());
    scanRecords(fields, [&](sqlite::Statement& scan, std::size_t position) {
        for (std::size_t i = 0; i < read.size(); ++i) readValue(scan, static_cast<int>(i) + 1, read[i]);
        visit(position);
    });
}

void Table::forEachStoredRecord(
    const std::vector<FieldKey>& fields,
    const std::function<void(std::size_t position, std::span<const std::string_view> stored)>& visit) {
    std::vector<bool> integer;
    for (const FieldKey key : fields) integer.push_back(field(key).isInteger());
    std::vector<std::string_view> stored(fields.size());
    std::vector<std::string> decimal(fields.size());
    scanRecords(fields, [&](sqlite::Statement& scan, std::size_t position) {
        for (std::size_t i = 0; i < stored.size(); ++i) {
            const int column = static_cast<int>(i) + 1;
            if (scan.isNull(column)) {
                stored[i] = {};
            } else if (integer[i]) { // as the field reads it, whatever the file holds there
                decimal[i] = std::to_string(scan.intAt(column));
                stored[i] = decimal[i];
            } else {
                stored[i] = scan.textViewAt(column);
            }
        }
        visit(position, stored);
    });
}

void Table::moveTo(std::size_t position) {
    current_ = order_.empty() ? 0 : std::min(position, order_.size() - 1);
    bof_ = eof_ = order_.empty();
    loadCurrent();
}

void Table::first() {
    checkBrowseMode();
    moveTo(0);
    bof_ = true;
    notify(eventHere(ChangeEvent::Kind::Moved));
}

void Table::last() {
    checkBrowseMode();
    moveTo(order_.empty() ? 0 : order_.size() - 1);
    eof_ = true;
    notify(eventHere(ChangeEvent::Kind::Moved));
}

void Table::moveToPosition(std::int64_t position) {
    checkBrowseMode();

    if (order_.empty()) {
        bof_ = eof_ = true;
        notify(eventHere(ChangeEvent::Kind::Moved));
        return;
    }
    const auto count = static_cast<std::int64_t>(order_.size());
    moveTo(static_cast<std::size_t>(std::clamp<std::int64_t>(position, 1, count) - 1));
    bof_ = position <= 1;
    eof_ = position > count && position > 1;
    notify(eventHere(ChangeEvent::Kind::Moved));
}

bool Table::moveToRecord(RecordId id) {
    checkBrowseMode();
    for (std::size_t position = 0; position < order_.size(); ++position)
        if (order_.at(position).id == id) {
            moveToPosition(static_cast<std::int64_t>(position) + 1);
            return true;
        }
    return false;
}

void Table::next() {
    moveBy(1);
}

void Table::prior() {
    moveBy(-1);
}

int Table::moveBy(int n) {
    checkBrowseMode();
    if (order_.empty()) {
        bof_ = eof_ = true;
        return 0;
    }
    const auto last = static_cast<std::int64_t>(order_.size()) - 1;
    const auto from = static_cast<std::int64_t>(current_);
    const std::int64_t to = std::clamp<std::int64_t>(from + n, 0, last);
    const bool stopped = from + n != to;
    // A move by 0 (going to position 1 is "first, then by 0") keeps the ends marked.
    if (n == 0) return 0;
    if (to != from) moveTo(static_cast<std::size_t>(to));
    bof_ = n < 0 && stopped;
    eof_ = n > 0 && stopped;
    if (to != from) notify(eventHere(ChangeEvent::Kind::Moved));
    return static_cast<int>(to - from);
}

void Table::append() {
    checkBrowseMode();
    startNewRecord(order_.size());
}

void Table::insert() {
    checkBrowseMode();
    startNewRecord(order_.empty() ? 0 : current_);
}

void Table::startNewRecord(std::size_t position) {
    insertAt_ = position;
    std::fill(buffer_.begin(), buffer_.end(), FieldValue{});
    state_ = TableState::Insert;
    modified_ = false;
    notify(eventHere(ChangeEvent::Kind::Began));
}

void Table::edit() {
    requireOpen();
    requireQuiet();
    if (state_ != TableState::Browse) return;
    if (order_.empty()) {
        append();
        return;
    }
    state_ = TableState::Edit;
    modified_ = false;
    notify(eventHere(ChangeEvent::Kind::Began));
}

void Table::bindBuffer(sqlite::Statement& statement) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldValue& v = buffer_[i];
        const int index = static_cast<int>(i) + 1;
        if (v.null)
            statement.bindNull(index);
        else if (fields_[i].isInteger())
            statement.bindInt(index, v.integer);
        else if (text::isAscii(v.text.bytes()))
            statement.bindTextInPlace(index, v.text.bytes()); // the buffer outlives the statement's run
        else
            statement.bindText(index, text::toUtf8(v.text));
    }
}

void Table::post() {
    requireOpen();
    requireQuiet();
    if (state_ == TableState::Browse) throw Error("Dataset not in edit or insert mode");
    notify(writeChange());
}

void Table::setValues(const RecordValues& values) {
    for (const auto& [name, value] : values) fieldByName(name).setAsString(value);
}

void Table::post(const RecordValues& values) {
    setValues(values);
    post();
}

void Table::aboutToWrite() {
    if (beforeWrite_) beforeWrite_();
}

void Table::setBeforeWrite(std::function<void()> hook) {
    beforeWrite_ = std::move(hook);
}

sqlite::Database& Table::database() {
    requireOpen();
    return *db_;
}

ChangeEvent Table::writeChange() {
    aboutToWrite();
    const int keyIndex = static_cast<int>(fields_.size()) + 1;
    const bool inserted = state_ == TableState::Insert;
    if (!inserted) {
        bindBuffer(*update_);
        update_->bindInt(keyIndex, order_.at(current_).id);
        update_->run();
    } else {
        const RecordOrder::Placement placement = order_.placeAt(insertAt_);
        sqlite::Transaction transaction(*db_);
        for (const auto& [row, key] : placement.rekeyed) {
            rekey_->bindInt(1, key);
            rekey_->bindInt(2, order_.at(row).id);
            rekey_->run();
        }
        bindBuffer(*insert_);
        insert_->bindInt(keyIndex, placement.key);
        insert_->run();
        const std::int64_t id = db_->lastInsertId();
        transaction.commit();
        order_.apply(placement, insertAt_, id);
        current_ = insertAt_;
    }
    state_ = TableState::Browse;
    modified_ = false;
    bof_ = eof_ = false;
    return eventHere(inserted ? ChangeEvent::Kind::Inserted : ChangeEvent::Kind::Saved);
}

void Table::dropChange() {
    state_ = TableState::Browse;
    modified_ = false;
    loadCurrent();
}

void Table::cancel() {
    requireOpen();
    requireQuiet();
    if (state_ == TableState::Browse) return;
    dropChange();
    notify(eventHere(ChangeEvent::Kind::Cancelled));
}

void Table::remove() {
    requireOpen();
    requireQuiet();
    if (state_ == TableState::Insert) {
        cancel();
        return;
    }
    if (order_.empty()) throw Error("Cannot perform this operation on an empty dataset");
    aboutToWrite();
    const ChangeEvent deleted = eventHere(ChangeEvent::Kind::Deleted);
    delete_->bindInt(1, deleted.record);
    delete_->run();
    order_.erase(current_);
    state_ = TableState::Browse;
    modified_ = false;
    moveTo(current_);
    notify(deleted);
}

int Table::recordCount() const {
    requireOpen();
    return static_cast<int>(order_.size());
}

int Table::recordNumber() const {
    requireOpen();
    if (state_ == TableState::Insert) return static_cast<int>(insertAt_) + 1;
    return order_.empty() ? 0 : static_cast<int>(current_) + 1;
}

RecordId Table::recordId() const {
    requireOpen();
    return state_ == TableState::Insert || order_.empty() ? 0 : order_.at(current_).id;
}

int Table::addChangeListener(ChangeListener listener) {
    listeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void Table::removeChangeListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

ChangeEvent Table::eventHere(ChangeEvent::Kind kind) const {
    return {kind, recordId(), static_cast<std::size_t>(recordNumber())};
}

void Table::notifyWritten(const Field& field) {
    ChangeEvent event = eventHere(ChangeEvent::Kind::ValueWritten);
    event.field = &field;
    notify(event);
}

void Table::notify(ChangeEvent event) {
    using Kind = ChangeEvent::Kind;
    if (manyChanges_ > 0 && (event.kind == Kind::Saved || event.kind == Kind::Inserted || event.kind == Kind::Deleted))
        storedMany_ = true;
    if (listeners_.empty()) return;
    // A copy: a listener may add or remove listeners.
    const auto listeners = listeners_;
    notifying_ = true;
    try {
        for (const auto& [id, listener] : listeners) listener(event);
    } catch (...) {
        notifying_ = false;
        throw;
    }
    notifying_ = false;
}

Table::ManyChanges::ManyChanges(Table& table) : table_(table) {
    if (table_.manyChanges_++ == 0) table_.storedMany_ = false;
}

Table::ManyChanges::~ManyChanges() noexcept(false) {
    table_.endManyChanges();
}

void Table::endManyChanges() {
    if (--manyChanges_ > 0 || !isOpen()) return;
    try {
        notify(eventHere(storedMany_ ? ChangeEvent::Kind::Reloaded : ChangeEvent::Kind::Moved));
    } catch (...) {
        // A listener that fails while a failed change unwinds must not end
        // the program; the change's own error is the one reported.
        if (!std::uncaught_exceptions()) throw;
    }
}

} // namespace gamarium::store
