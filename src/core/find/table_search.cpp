#include "core/find/table_search.h"

#include "core/find/match_rule.h"
#include "core/find/search_fold.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <array>
#include <cstring>
#include <numeric>
#include <vector>

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
            const std::string a = text::toUtf8(text::StoredText::fromCp1251(one));
            const std::string b = text::toUtf8(text::StoredText::fromCp1251(foldForSearch(one)));
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

    unsigned char of(char byte) const { return class_[static_cast<unsigned char>(byte)]; }

    std::string fold(std::string_view utf8) const {
        std::string out(utf8.size(), '\0');
        for (std::size_t i = 0; i < utf8.size(); ++i) out[i] = static_cast<char>(of(utf8[i]));
        return out;
    }

    // The bytes of the class of `byte`.
    std::vector<char> members(char byte) const {
        std::vector<char> all;
        for (int b = 0; b < 256; ++b)
            if (class_[b] == of(byte)) all.push_back(static_cast<char>(b));
        return all;
    }

private:
    std::array<unsigned char, 256> class_{};
};

const ByteClasses& byteClasses() {
    static const ByteClasses classes;
    return classes;
}

// The test a stored text must pass before it is read whole: the folded
// needle somewhere in its folded bytes. The text is not folded: one byte of
// the needle (one a text holds rarely) is looked for, each of its few forms
// with the C library's memchr (or all its forms in one pass through the
// classes), and only around a hit are bytes compared.
class StoredNeedle {
public:
    explicit StoredNeedle(const std::string& folded) {
        // "?" also stands for what the conversion cannot read: such a needle
        // is looked for in every text.
        if (folded.find('?') != std::string::npos) return;
        const ByteClasses& classes = byteClasses();
        const std::string utf8 = text::toUtf8(text::StoredText::fromCp1251(folded));
        key_ = classes.fold(utf8);
        // Lead bytes of letters (D0, D1) are in every Cyrillic word: a
        // following byte, of the fewest forms, tells words apart far better.
        const auto lead = [](unsigned char b) { return b >= 0xC2 && b <= 0xF4; };
        std::size_t best = 0, bestForms = 0;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const bool isLead = lead(static_cast<unsigned char>(utf8[i]));
            const std::size_t forms = classes.members(utf8[i]).size() + (isLead ? 256 : 0);
            if (bestForms == 0 || forms < bestForms) best = i, bestForms = forms;
        }
        anchor_ = best;
        forms_ = classes.members(utf8[best]);
    }

    bool mayMatch(std::string_view utf8) const {
        if (key_.empty()) return true;
        // A text holding a byte that may begin an overlong form is read whole.
        for (const char lead : {'\xC0', '\xC1', '\xE0', '\xF0'})
            if (std::memchr(utf8.data(), lead, utf8.size())) return true;
        return forms_.size() <= kMostSought ? matchSought(utf8) : matchScanned(utf8);
    }

private:
    // Up to this many forms are each looked for with memchr; more are
    // looked for in one pass through a table.
    static constexpr std::size_t kMostSought = 4;

    // Whether the key stands where the anchor byte was found at `at`.
    bool keyAt(std::string_view utf8, std::size_t at) const {
        if (at < anchor_ || at - anchor_ + key_.size() > utf8.size()) return false;
        const char* start = utf8.data() + (at - anchor_);
        for (std::size_t i = 0; i < key_.size(); ++i)
            if (byteClasses().of(start[i]) != static_cast<unsigned char>(key_[i])) return false;
        return true;
    }

    bool matchSought(std::string_view utf8) const {
        // The next place of each form at or after where the search stands.
        std::array<std::size_t, kMostSought> next{};
        const auto find = [&](std::size_t form, std::size_t from) {
            const void* hit =
                from < utf8.size() ? std::memchr(utf8.data() + from, forms_[form], utf8.size() - from) : nullptr;
            return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - utf8.data()) : utf8.size();
        };
        for (std::size_t form = 0; form < forms_.size(); ++form) next[form] = find(form, anchor_);
        for (;;) {
            std::size_t form = 0;
            for (std::size_t f = 1; f < forms_.size(); ++f)
                if (next[f] < next[form]) form = f;
            const std::size_t at = next[form];
            if (at >= utf8.size()) return false;
            if (keyAt(utf8, at)) return true;
            next[form] = find(form, at + 1);
        }
    }

    bool matchScanned(std::string_view utf8) const {
        const unsigned char sought = static_cast<unsigned char>(key_[anchor_]);
        for (std::size_t at = anchor_; at < utf8.size(); ++at)
            if (byteClasses().of(utf8[at]) == sought && keyAt(utf8, at)) return true;
        return false;
    }

    std::string key_;         // the needle's UTF-8 bytes, folded
    std::size_t anchor_ = 0;  // the byte of the key looked for first
    std::vector<char> forms_; // every byte that folds to it
};

} // namespace

std::vector<FindResult> findInTable(store::Table& games, const FindQuery& query) {
    std::vector<FindResult> results;
    if (query.text.empty() || query.fields.isEmpty()) return results;
    const MatchRule rule(foldForSearch(query.text.bytes()), query.wholeWord);
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
    std::string folded;
    GameText game; // of a game that matches: what its results show
    games.forEachStoredRecord(names, [&](std::size_t position, std::span<const std::string_view> stored) {
        bool described = false;
        for (int i = 0; i < kSearchFieldCount; ++i) {
            const auto field = static_cast<SearchField>(i);
            const std::string_view value = stored[column[static_cast<std::size_t>(i)]];
            if (!query.fields.contains(field) || !needle.mayMatch(value)) continue;
            text::StoredText& text = game.fields[static_cast<std::size_t>(i)];
            text::fromUtf8(value, text);
            folded.clear();
            appendFolded(folded, text.bytes());
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
