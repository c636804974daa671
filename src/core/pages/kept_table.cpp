#include "core/pages/kept_table.h"

#include "core/store/sqlite.h"
#include "core/store/table.h"

#include <xxhash.h>

#include <chrono>

namespace gamarium::pages {
namespace {

// The file begins with this, the kind and the program that wrote it, the
// stamp of the table file, the number of records and a checksum of the
// rest; then the rest.
constexpr std::string_view kMagic = "GKT1";
constexpr std::chrono::seconds kSettled{5};

std::optional<files::FileStamp> standingStamp(store::Table& table) {
    const files::Path& file = table.database().file();
    files::Path journal = file;
    journal += "-wal";
    if (const auto waiting = files::fileStamp(journal); waiting && waiting->size > 0)
        return std::nullopt;
    return files::fileStamp(file);
}

std::uint64_t checksum(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

} // namespace

KeptTable::KeptTable(store::Table& table, files::Path file, std::string_view kind)
    : file_(std::move(file)), kind_(std::string(kind) + " " + GAMARIUM_VERSION), stamp_(standingStamp(table)),
      records_(static_cast<std::uint64_t>(table.recordCount())) {}

bool KeptTable::read(const std::function<void(std::string_view bytes)>& read) const {
    if (!stamp_ || !files::fileExists(file_))
        return false;
    try {
        const files::FileBytes file(file_);
        KeptReader header(file.bytes());
        if (header.bytes(kMagic.size()) != kMagic || header.text() != kind_ ||
            header.number<std::uint64_t>() != stamp_->size || header.number<std::int64_t>() != stamp_->changed ||
            header.number<std::uint64_t>() != stamp_->identity || header.number<std::uint64_t>() != records_)
            return false;
        const auto sum = header.number<std::uint64_t>();
        const std::string_view rest = header.rest();
        if (checksum(rest) != sum)
            return false;
        read(rest);
        return true;
    } catch (const std::exception&) {
        return false; // unreadable, or not what it should be
    }
}

bool KeptTable::mayKeep() const {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return stamp_ && std::chrono::nanoseconds(stamp_->changed) + kSettled < now;
}

void KeptTable::keep(std::string_view bytes) const {
    if (!mayKeep())
        return;
    KeptWriter header;
    header.bytes(kMagic);
    header.text(kind_);
    header.number(stamp_->size);
    header.number(stamp_->changed);
    header.number(stamp_->identity);
    header.number(records_);
    header.number(checksum(bytes));
    try {
        files::makeFolder(file_.parent_path());
        files::writeFileReplacing(file_, header.written() + std::string(bytes));
    } catch (const std::exception&) {
        // Only the next run is slower.
    }
}

} // namespace gamarium::pages
