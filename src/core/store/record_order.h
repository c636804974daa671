#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace gamarium::store {

// The position order of a table's records. Each record carries an order key;
// keys grow with the position and leave gaps, so that a record inserted
// between two others takes a key between theirs and no other record is
// touched. Only when a gap is used up are the keys of a small neighbourhood
// spread out again.
class RecordOrder {
public:
    struct Row {
        std::int64_t id = 0;
        std::int64_t key = 0;
    };

    // Where a new record goes: its key, and the new keys of the rows
    // (by position) that have to move to make room.
    struct Placement {
        std::int64_t key = 0;
        std::vector<std::pair<std::size_t, std::int64_t>> rekeyed;
    };

    void assign(std::vector<Row> rows) { rows_ = std::move(rows); }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const Row& at(std::size_t position) const { return rows_[position]; }
    // Whether the records' ids grow with their positions, as they do in a
    // table whose records were only ever added at its end: then the order
    // of the ids is the position order.
    bool idsInOrder() const;

    // A key for a new record at `position` (0..size), inserted before the
    // record now there. Changes nothing; apply() does once it is stored.
    Placement placeAt(std::size_t position) const;
    void apply(const Placement& placement, std::size_t position, std::int64_t id);
    void erase(std::size_t position);

    static constexpr std::int64_t kStep = std::int64_t{1} << 32;
    static constexpr std::int64_t kMaxKey = std::int64_t{1} << 62;

private:
    std::vector<Row> rows_;
};

} // namespace gamarium::store
