#include "core/editor/quick_jump.h"

#include "core/error.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>

namespace gamarium::editor {
namespace {

// The steps of the search go to the same positions again and again (the
// ends of the range are earlier middles); what was compared there is kept,
// so that each position is read once and the cursor moves only where the
// search looks at something new or stops.
class Search {
public:
    Search(store::Table& games, std::string_view text) : games_(games), lowerText_(text::lower(text)) {}

    std::int64_t number() { return games_.field(store::games::N).asInteger(); }
    int compareHere() { return compareWithName(lowerText_, games_.field(store::games::Name).asString().bytes()); }

    int compareAt(std::int64_t position) {
        position = clamped(position);
        if (const auto known = compared_.find(position); known != compared_.end()) return known->second;
        goTo(position);
        return compared_[position] = compareHere();
    }
    // Leaves the cursor at a position.
    void stopAt(std::int64_t position) {
        if (clamped(position) != at_) goTo(clamped(position));
    }

private:
    std::int64_t clamped(std::int64_t position) const {
        return std::clamp<std::int64_t>(position, 1, std::max(1, games_.recordCount()));
    }
    void goTo(std::int64_t position) {
        games_.moveToPosition(position);
        at_ = position;
    }

    store::Table& games_;
    std::string lowerText_;
    std::map<std::int64_t, int> compared_;
    std::int64_t at_ = 0;
};

} // namespace

int compareWithName(std::string_view lowerText, std::string_view name) {
    const std::string prefix = text::lower(name.substr(0, lowerText.size()));
    for (std::size_t i = 0; i < lowerText.size() && i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(lowerText[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    return lowerText.size() == prefix.size() ? 0 : (lowerText.size() < prefix.size() ? -1 : 1);
}

void findname(store::Table& games, std::string_view text) {
    Search search(games, text);
    std::int64_t lo = 1;
    std::int64_t hi = 0;
    if (search.compareHere() > 0) {
        lo = search.number();
        games.last();
        hi = search.number();
    } else {
        hi = search.number();
    }
    do {
        if (search.compareAt(hi) > 0) return search.stopAt(hi);
        if (search.compareAt(lo) < 0) return search.stopAt(lo);
        // Halves towards minus infinity, as "rounded down" says for any N.
        const std::int64_t sum = lo + hi;
        const std::int64_t mid = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);
        if (search.compareAt(mid) > 0)
            lo = mid;
        else
            hi = mid;
    } while (hi - lo > 2);
    const int atLo = search.compareAt(lo);
    search.stopAt(lo);
    if (atLo > 0) {
        games.next();
        if (search.compareHere() > 0) games.next();
    }
}

void quickJump(store::Table& games, std::string_view text) {
    if (text.find_first_not_of("0123456789") != std::string_view::npos) {
        findname(games, text);
        return;
    }
    games.first();
    std::int32_t position = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw Error("'" + std::string(text) + "' is not a valid integer value");
    games.moveBy(position - 1);
}

} // namespace gamarium::editor
