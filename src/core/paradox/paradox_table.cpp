#include "core/paradox/paradox_table.h"

#include "core/error.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <optional>

namespace gamarium::paradox {
namespace {

// The header: the fixed part that every version has, then (from Paradox 4
// on) a second fixed part, then the field types and sizes, pointers kept
// from the writer's memory, the table name and the field names.
constexpr std::size_t kRecordSize = 0x00;
constexpr std::size_t kHeaderSize = 0x02;
constexpr std::size_t kFileType = 0x04;
constexpr std::size_t kBlockKilobytes = 0x05;
constexpr std::size_t kRecordCount = 0x06;
constexpr std::size_t kFirstBlock = 0x0E;
constexpr std::size_t kFieldCount = 0x21;
constexpr std::size_t kEncryption = 0x25;
constexpr std::size_t kVersion = 0x39;
constexpr std::size_t kFixedPart = 0x58;
constexpr std::size_t kEncryptionAgain = 0x5C;
constexpr std::size_t kCodePage = 0x6A;
constexpr std::size_t kSecondFixedPart = 0x78;

constexpr std::uint8_t kKeyedTable = 0;
constexpr std::uint8_t kPlainTable = 2;
constexpr std::uint8_t kPrimaryIndex = 1;
constexpr std::uint8_t kFirstSecondaryIndex = 3; // .Xnn, .Ynn and .XGn, .YGn: 3 to 8
constexpr std::uint8_t kLastSecondaryIndex = 8;
constexpr std::uint8_t kOldestVersion = 3;   // Paradox 3.0
constexpr std::uint8_t kVersion4 = 5;        // from here on the second fixed part
constexpr std::uint8_t kVersion7 = 12;       // from here on the longer table name
constexpr std::size_t kShortTableName = 79;
constexpr std::size_t kLongTableName = 261;
constexpr std::size_t kBlockHeader = 6;      // next block, previous block, offset of the last record
constexpr std::size_t kMemoTail = 10;        // where in the memo file, length, change count

std::string shownFileName(const files::Path& file) {
    return text::toUtf8(files::nameText(file));
}

bool isKind(std::uint8_t type, HeadedFile kind) {
    switch (kind) {
    case HeadedFile::Table: return type == kKeyedTable || type == kPlainTable;
    case HeadedFile::PrimaryIndex: return type == kPrimaryIndex;
    case HeadedFile::SecondaryIndex: return type >= kFirstSecondaryIndex && type <= kLastSecondaryIndex;
    }
    return false;
}

// The first bytes of a Paradox file: its kind, block size and version.
bool looksLike(const std::string& header, HeadedFile kind) {
    const auto kilobytes = static_cast<std::uint8_t>(header[kBlockKilobytes]);
    const auto version = static_cast<std::uint8_t>(header[kVersion]);
    return isKind(static_cast<std::uint8_t>(header[kFileType]), kind) && kilobytes >= 1 && kilobytes <= 32 &&
           version >= kOldestVersion && version <= kVersion7 && lowFirst(header, kRecordSize, 2) > 0;
}

// The memo file shares the table's name, in whatever letter case.
std::optional<files::Path> memoFileOf(const files::Path& table) {
    const files::Path memo = files::findNoCase(table.parent_path(), files::nameText(table.stem()) + ".mb"_stored);
    if (!files::fileExists(memo)) return std::nullopt;
    return memo;
}

bool sizeFits(const FieldInfo& field) {
    switch (static_cast<FieldType>(field.type)) {
    case FieldType::Short: return field.size == 2;
    case FieldType::Long: return field.size == 4;
    case FieldType::Memo: return field.size > static_cast<int>(kMemoTail);
    default: return field.size > 0;
    }
}

// Integers are stored high byte first with the sign bit flipped, so that
// they sort as bytes; all zero bytes is null.
Value integerValue(std::uint32_t raw, std::uint32_t signBit) {
    Value value;
    if (raw == 0) return value;
    value.null = false;
    const std::uint32_t flipped = raw ^ signBit;
    value.integer = signBit == 0x8000 ? static_cast<std::int16_t>(flipped) : static_cast<std::int32_t>(flipped);
    return value;
}

} // namespace

bool isParadoxFile(const files::Path& file, HeadedFile kind) {
    const std::optional<std::string> header = headOf(file, kVersion + 1);
    return header && looksLike(*header, kind);
}

bool isParadoxTable(const files::Path& file) {
    return isParadoxFile(file, HeadedFile::Table);
}

ParadoxTable::ParadoxTable(const files::Path& file) : shownName_(shownFileName(file)), bytes_(file) {
    readHeader();
    if (const auto memo = memoFileOf(file)) memos_ = std::make_unique<MemoFile>(*memo, shownFileName(*memo));
}

ParadoxTable::~ParadoxTable() = default;

void ParadoxTable::damaged(const std::string& what) const {
    throw Error("Таблица «" + shownName_ + "» повреждена: " + what + ".");
}

void ParadoxTable::readHeader() {
    std::string header;
    if (!bytes_.read(0, kFixedPart, header)) damaged("файл обрезан в заголовке");
    if (!looksLike(header, HeadedFile::Table)) damaged("заголовок не таблицы Paradox");
    const auto version = static_cast<std::uint8_t>(header[kVersion]);
    recordSize_ = lowFirst(header, kRecordSize, 2);
    headerSize_ = lowFirst(header, kHeaderSize, 2);
    blockSize_ = static_cast<std::uint8_t>(header[kBlockKilobytes]) * 1024u;
    recordCount_ = lowFirst(header, kRecordCount, 4);
    firstBlock_ = lowFirst(header, kFirstBlock, 2);
    const std::uint32_t fieldCount = lowFirst(header, kFieldCount, 2);
    const bool secondPart = version >= kVersion4;
    if (!bytes_.read(0, headerSize_, header) || headerSize_ < (secondPart ? kSecondFixedPart : kFixedPart))
        damaged("файл обрезан в заголовке");
    // From Paradox 4 on the first field holds a fixed mark, the second the key.
    const std::uint32_t key = secondPart ? lowFirst(header, kEncryptionAgain, 4) : lowFirst(header, kEncryption, 4);
    if (key != 0)
        throw Error("Таблица «" + shownName_ +
                    "» зашифрована (защищена паролем); снимите пароль в старой программе и повторите.");
    if (secondPart) codePage_ = static_cast<int>(lowFirst(header, kCodePage, 2));
    if (fieldCount == 0 || fieldCount > 255 || recordSize_ == 0 || recordSize_ + kBlockHeader > blockSize_)
        damaged("неверное описание записи");

    std::size_t at = secondPart ? kSecondFixedPart : kFixedPart;
    if (at + fieldCount * 2 > header.size()) damaged("описание полей не помещается в заголовок");
    std::uint32_t total = 0;
    for (std::uint32_t i = 0; i < fieldCount; ++i, at += 2) {
        FieldInfo field;
        field.type = static_cast<std::uint8_t>(header[at]);
        field.size = static_cast<unsigned char>(header[at + 1]);
        if (!sizeFits(field)) damaged("поле неверной длины");
        total += static_cast<std::uint32_t>(field.size);
        fields_.push_back(std::move(field));
    }
    if (total != recordSize_) damaged("длины полей не складываются в длину записи");
    // The writer's pointers to the table name and to each field name.
    at += 4 + fieldCount * 4;
    at += version >= kVersion7 ? kLongTableName : kShortTableName;
    readFieldNames(header, at);
}

void ParadoxTable::readFieldNames(const std::string& header, std::size_t at) {
    for (FieldInfo& field : fields_) {
        const std::size_t end = at < header.size() ? header.find('\0', at) : std::string::npos;
        if (end == std::string::npos || end == at) damaged("имена полей не помещаются в заголовок");
        field.name = header.substr(at, end - at);
        at = end + 1;
    }
}

void ParadoxTable::readRecords(const std::function<void(const std::vector<Value>&)>& record) {
    // The last block of a file may end with its last record.
    const std::uint64_t data = bytes_.size() - std::min<std::uint64_t>(bytes_.size(), headerSize_);
    const std::uint64_t blocksInFile = (data + blockSize_ - 1) / blockSize_;
    std::vector<bool> visited(static_cast<std::size_t>(blocksInFile) + 1, false);
    std::vector<Value> values(fields_.size());
    std::string block;
    std::uint32_t found = 0;
    for (std::uint32_t number = recordCount_ == 0 && firstBlock_ == 0 ? 0 : firstBlock_; number != 0;) {
        const std::string where = "блок " + std::to_string(number);
        if (number > blocksInFile) damaged(where + " за концом файла");
        if (visited[number]) damaged("цепочка блоков замкнута на " + where);
        visited[number] = true;
        const std::uint64_t start = headerSize_ + std::uint64_t{number - 1} * blockSize_;
        const auto present = static_cast<std::size_t>(std::min<std::uint64_t>(blockSize_, bytes_.size() - start));
        if (present < kBlockHeader || !bytes_.read(start, present, block)) damaged(where + " обрезан");
        const auto lastRecord = static_cast<std::int16_t>(lowFirst(block, 4, 2));
        if (lastRecord >= 0) {
            const auto last = static_cast<std::uint32_t>(lastRecord);
            if (last % recordSize_ != 0 || kBlockHeader + last + recordSize_ > blockSize_)
                damaged(where + ": неверное число записей");
            if (kBlockHeader + last + recordSize_ > present) damaged(where + " обрезан");
            for (std::uint32_t at = 0; at <= last; at += recordSize_) {
                decode(block, kBlockHeader + at, values);
                record(values);
                ++found;
            }
        } else if (lastRecord != -static_cast<std::int32_t>(recordSize_)) {
            damaged(where + ": неверное число записей");
        }
        number = lowFirst(block, 0, 2);
    }
    if (found != recordCount_)
        damaged("в заголовке записей " + std::to_string(recordCount_) + ", в блоках " + std::to_string(found));
}

void ParadoxTable::decode(const std::string& block, std::size_t at, std::vector<Value>& values) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldInfo& field = fields_[i];
        const auto size = static_cast<std::size_t>(field.size);
        Value& value = values[i];
        switch (static_cast<FieldType>(field.type)) {
        case FieldType::Alpha: {
            const std::size_t end = std::min(block.find('\0', at), at + size);
            value = Value{};
            value.text = block.substr(at, end - at);
            value.null = value.text.empty();
            break;
        }
        case FieldType::Short:
            value = integerValue(highFirst(block, at, 2), 0x8000);
            break;
        case FieldType::Long:
            value = integerValue(highFirst(block, at, 4), 0x80000000u);
            break;
        case FieldType::Memo:
            decodeMemo(block, at, field.size, value);
            break;
        default:
            value = Value{};
        }
        at += size;
    }
}

// A memo keeps its beginning in the record, then where the whole text lies
// in the memo file and its length. A text that fits in the record is only there.
void ParadoxTable::decodeMemo(const std::string& bytes, std::size_t at, int size, Value& value) {
    const std::size_t kept = static_cast<std::size_t>(size) - kMemoTail;
    const std::uint32_t where = lowFirst(bytes, at + kept, 4);
    const std::uint32_t length = lowFirst(bytes, at + kept + 4, 4);
    value = Value{};
    if (length == 0) return;
    value.null = false;
    if (length <= kept) {
        value.text = bytes.substr(at, length);
    } else if (memos_) {
        value.text = memos_->read(where, length);
    } else {
        value.text = bytes.substr(at, kept);
        value.cut = true;
    }
}

} // namespace gamarium::paradox
