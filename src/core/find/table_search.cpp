#include "core/find/table_search.h"

#include "core/find/match_rule.h"
#include "core/find/search_fold.h"
#include "core/store/table.h"
#include "core/text/byte_search.h"
#include "core/text/cp1251.h"

#include <array>
#include <cstring>
#include <numeric>

namespace gamarium::find {
namespace {

// UTF-8 bytes folded one by one so that the UTF-8 forms of two characters
// that the search takes as one (a letter in either case, Ё and е) become
// the same bytes: a stored text whose folded bytes lack the folded needle
// cannot match. Bytes that may begin an overlong form (C0, C1, E0, F0),
// which the conversion reads for the value it spells, fold to a mark of
// their own: a text holding one is read whole.
class ByteClasses {
public:
    static constexpr unsigned char kOverlong = 0xC0;

    ByteClasses() {
        std::array<unsigned char, 256> parent{};
        std::iota(parent.begin(), parent.end(), 0);
        const auto root = [&](unsigned char b) {
            while (parent[b] != b) b = parent[b];
            return b;
        };
        for (int c = 0; c < 256; ++c) {
            const std::string one(1, static_cast<char>(c));
            const std::string a = text::toUtf8(one), b = text::toUtf8(foldForSearch(one));
            // A character and its folded form have UTF-8 forms of one length.
            for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
                const unsigned char x = root(static_cast<unsigned char>(a[i]));
                const unsigned char y = root(static_cast<unsigned char>(b[i]));
                parent[std::max(x, y)] = std::min(x, y);
            }
        }
        for (int b = 0; b < 256; ++b) class_[b] = root(static_cast<unsigned char>(b));
        for (const unsigned char lead : {0xC0, 0xC1, 0xE0, 0xF0}) class_[lead] = kOverlong;
    }

    void fold(std::string_view utf8, std::string& out) const {
        out.resize(utf8.size());
        char* to = out.data();
        for (const char c : utf8) *to++ = static_cast<char>(class_[static_cast<unsigned char>(c)]);
    }

private:
    std::array<unsigned char, 256> class_{};
};

const ByteClasses& byteClasses() {
    static const ByteClasses classes;
    return classes;
}

// The test a stored text must pass before it is read whole.
class StoredNeedle {
public:
    explicit StoredNeedle(const std::string& folded) {
        // "?" also stands for what the conversion cannot read: such a needle
        // is looked for in every text.
        if (folded.find('?') == std::string::npos) byteClasses().fold(text::toUtf8(folded), key_);
    }

    bool mayMatch(std::string_view utf8, std::string& scratch) const {
        if (key_.empty()) return true;
        byteClasses().fold(utf8, scratch);
        return text::findBytes(scratch, key_, 0) != std::string_view::npos ||
               std::memchr(scratch.data(), ByteClasses::kOverlong, scratch.size()) != nullptr;
    }

private:
    std::string key_;
};

} // namespace

std::vector<FindResult> findInTable(store::Table& games, const FindQuery& query) {
    std::vector<FindResult> results;
    if (query.text.empty() || query.fields.isEmpty()) return results;
    const MatchRule rule(foldForSearch(query.text), query.wholeWord);
    const StoredNeedle needle(rule.needle());
    // Only the fields searched are read, and those a result shows.
    std::vector<store::FieldKey> names = {store::games::N, store::games::Region};
    std::array<std::size_t, kSearchFieldCount> column{};
    for (int i = 0; i < kSearchFieldCount; ++i) {
        const auto field = static_cast<SearchField>(i);
        if (field != SearchField::Name && !query.fields.contains(field)) continue;
        column[static_cast<std::size_t>(i)] = names.size();
        names.push_back(fieldKey(field));
    }
    std::string scratch, folded;
    GameText game; // of a game that matches: what its results show
    games.forEachStoredRecord(names, [&](std::size_t position, std::span<const std::string_view> stored) {
        bool described = false;
        for (int i = 0; i < kSearchFieldCount; ++i) {
            const auto field = static_cast<SearchField>(i);
            const std::string_view value = stored[column[static_cast<std::size_t>(i)]];
            if (!query.fields.contains(field) || !needle.mayMatch(value, scratch)) continue;
            std::string& text = game.fields[static_cast<std::size_t>(i)];
            text::fromUtf8(value, text);
            folded.clear();
            appendFolded(folded, text);
            const auto at = rule.firstIn(folded);
            if (!at) continue;
            if (!described) {
                game.record = games.recordId();
                game.number = text::fromUtf8(stored[0]);
                game.region = text::fromUtf8(stored[1]);
                const std::size_t name = static_cast<std::size_t>(SearchField::Name);
                text::fromUtf8(stored[column[name]], game.fields[name]);
                described = true;
            }
            results.push_back(describe(game, {position + 1, field, static_cast<std::uint32_t>(*at),
                                              static_cast<std::uint32_t>(rule.needle().size())}));
        }
    });
    return results;
}

} // namespace gamarium::find
