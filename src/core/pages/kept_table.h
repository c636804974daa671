#pragma once

#include "core/files/files.h"
#include "core/files/system.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace gamarium::store {
class Table;
}

namespace gamarium::pages {

// What the generator worked out from every record of a table, kept in the
// program's cache folder with the stamp of the table's file (size, time,
// inode): taken again only while the file stands as it was, with nothing
// waiting in its journal, and with as many records. A plain file with a
// checksum, read whole at once; anything wrong with it, and the table is
// read again. Written only for a table last changed some seconds before:
// a file system's clock ticks in milliseconds (on FAT disks, two seconds),
// and a table changed twice within one tick keeps its stamp.
class KeptTable {
public:
    // `file` in the cache folder; `kind` marks what it holds and how, and
    // changes when that changes.
    KeptTable(store::Table& table, files::Path file, std::string_view kind);

    // Hands the kept bytes to `read` and returns true, when they were
    // kept for the table as it stands and `read` takes them (does not throw).
    bool read(const std::function<void(std::string_view bytes)>& read) const;
    // Whether the table may be trusted to stand as it does: what keep()
    // is given is kept.
    bool mayKeep() const;
    // Keeps `bytes` for the table as it stands, when mayKeep(). A file that
    // cannot be written is passed over.
    void keep(std::string_view bytes) const;

private:
    files::Path file_;
    std::string kind_;
    std::optional<files::FileStamp> stamp_; // none: not to be trusted as it stands
    std::uint64_t records_ = 0;
};

// Writes numbers and texts one after another, as KeptReader reads them.
class KeptWriter {
public:
    template <typename Number>
    void number(Number value) {
        bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void bytes(std::string_view value) { bytes_ += value; }
    // Its length, then its bytes.
    void text(std::string_view value) {
        number(static_cast<std::uint32_t>(value.size()));
        bytes(value);
    }
    const std::string& written() const { return bytes_; }

private:
    std::string bytes_;
};

// Reads what KeptWriter wrote; throws std::runtime_error past the end.
class KeptReader {
public:
    explicit KeptReader(std::string_view bytes) : rest_(bytes) {}
    template <typename Number>
    Number number() {
        Number value;
        std::memcpy(&value, bytes(sizeof value).data(), sizeof value);
        return value;
    }
    std::string_view bytes(std::size_t size) {
        if (rest_.size() < size)
            throw std::runtime_error("the kept bytes end too soon");
        const std::string_view taken = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return taken;
    }
    std::string_view text() { return bytes(number<std::uint32_t>()); }
    std::string_view rest() const { return rest_; }
    bool done() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

} // namespace gamarium::pages
