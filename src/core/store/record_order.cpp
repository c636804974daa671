#include "core/store/record_order.h"

#include <algorithm>

namespace gamarium::store {
namespace {

// The smallest gap left between keys after spreading a neighbourhood: enough
// for ten more inserts at the same place before spreading again.
constexpr std::int64_t kMinGap = 1024;

} // namespace

RecordOrder::Placement RecordOrder::placeAt(std::size_t position) const {
    const std::int64_t before = position > 0 ? rows_[position - 1].key : 0;
    if (position == rows_.size() && before <= kMaxKey - kStep) return {before + kStep, {}};
    if (position < rows_.size() && rows_[position].key - before >= 2)
        return {before + (rows_[position].key - before) / 2, {}};

    // No room: spread the keys of a growing neighbourhood evenly over the
    // range its outer neighbours leave.
    for (std::size_t half = 8;; half *= 2) {
        const std::size_t lo = position > half ? position - half : 0;
        const std::size_t hi = std::min(rows_.size(), position + half);
        const std::int64_t low = lo > 0 ? rows_[lo - 1].key : 0;
        const std::int64_t high = hi < rows_.size() ? rows_[hi].key : kMaxKey;
        const auto slots = static_cast<std::int64_t>(hi - lo + 1);
        const std::int64_t gap = (high - low) / (slots + 1);
        const bool whole = lo == 0 && hi == rows_.size();
        if (gap < kMinGap && !whole) continue;
        Placement placement;
        std::int64_t key = low;
        for (std::size_t slot = lo; slot <= hi; ++slot) {
            key += gap;
            if (slot == position) {
                placement.key = key;
            } else {
                const std::size_t row = slot < position ? slot : slot - 1;
                placement.rekeyed.emplace_back(row, key);
            }
        }
        return placement;
    }
}

void RecordOrder::apply(const Placement& placement, std::size_t position, std::int64_t id) {
    for (const auto& [row, key] : placement.rekeyed) rows_[row].key = key;
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), Row{id, placement.key});
}

void RecordOrder::erase(std::size_t position) {
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

bool RecordOrder::idsInOrder() const {
    return std::adjacent_find(rows_.begin(), rows_.end(),
                              [](const Row& a, const Row& b) { return a.id >= b.id; }) == rows_.end();
}

} // namespace gamarium::store
