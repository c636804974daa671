#pragma once

#include "core/files/files.h"
#include "core/paradox/file_bytes.h"
#include "core/paradox/memo_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Reading the tables that older programs kept in Paradox files: a data
// file (.db) of fixed-size records in a chain of blocks, and a memo file
// (.mb) beside it. Only what those tables use is read: alpha, short, long
// and memo fields.
namespace gamarium::paradox {

enum class FieldType : std::uint8_t { Alpha = 0x01, Short = 0x03, Long = 0x04, Memo = 0x0C };

struct FieldInfo {
    std::string name; // in the table's code page
    std::uint8_t type = 0;
    int size = 0;     // bytes in the record; for a memo, the text kept there plus 10
};

struct Value {
    bool null = true;
    std::int32_t integer = 0; // short and long fields
    std::string text;         // alpha and memo fields, in the table's code page
    bool cut = false;         // a memo with no memo file: the part kept in the record
};

// The files of a Paradox table that begin with the header of the table
// itself: the data file, its primary index (.px) and its secondary indexes
// (.Xnn, .Ynn).
enum class HeadedFile { Table, PrimaryIndex, SecondaryIndex };

// True when the file begins as a Paradox file of that kind does.
bool isParadoxFile(const files::Path& file, HeadedFile kind);
// True when the file begins as a Paradox data table does.
bool isParadoxTable(const files::Path& file);

class ParadoxTable {
public:
    // Reads and checks the header; opens the memo file (.mb, any letter
    // case) beside the table when there is one. Refuses an encrypted table
    // and a damaged header with an Error.
    explicit ParadoxTable(const files::Path& file);
    ~ParadoxTable();

    const std::vector<FieldInfo>& fields() const { return fields_; }
    int codePage() const { return codePage_; }
    bool hasMemoFile() const { return memos_ != nullptr; }

    // Gives each record in the order the table shows them: the chain of
    // data blocks from the header's first block. A damaged block, a chain
    // that leaves the file or runs in a circle, or a record count unlike
    // the header's refuses the table with an Error.
    void readRecords(const std::function<void(const std::vector<Value>&)>& record);

private:
    [[noreturn]] void damaged(const std::string& what) const;
    void readHeader();
    void readFieldNames(const std::string& header, std::size_t at);
    void decode(const std::string& block, std::size_t at, std::vector<Value>& values);
    void decodeMemo(const std::string& bytes, std::size_t at, int size, Value& value);

    std::string shownName_;
    FileBytes bytes_;
    std::unique_ptr<MemoFile> memos_;
    std::vector<FieldInfo> fields_;
    std::uint32_t recordSize_ = 0;
    std::uint32_t headerSize_ = 0;
    std::uint32_t blockSize_ = 0;
    std::uint32_t recordCount_ = 0;
    std::uint32_t firstBlock_ = 0;
    int codePage_ = 0;
};

} // namespace gamarium::paradox
