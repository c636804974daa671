#include "core/pages/placeholder.h"

#include "core/text/cp1251.h"

#include <array>

namespace gamarium::pages {

namespace {

using CaseTable = std::array<unsigned char, 256>;

const CaseTable& upperTable() {
    static const CaseTable table = [] {
        CaseTable t{};
        for (std::size_t c = 0; c < t.size(); ++c)
            t[c] = static_cast<unsigned char>(text::upper(static_cast<char>(c)));
        return t;
    }();
    return table;
}

// Where `word` first stands in `text`, letter case aside. Every page block
// is searched once for each placeholder, so the text is not copied: the
// search jumps between the bytes that can begin the word ("$" has no other
// case, so for a placeholder these are its "$" signs).
std::size_t findNoCase(std::string_view text, std::string_view word) {
    if (word.empty())
        return 0;
    const CaseTable& up = upperTable();
    const auto same = [&](char a, char b) {
        return up[static_cast<unsigned char>(a)] == up[static_cast<unsigned char>(b)];
    };
    const char first = word.front();
    const char other = static_cast<char>(up[static_cast<unsigned char>(first)]) == first
                           ? static_cast<char>(text::lower(first))
                           : static_cast<char>(up[static_cast<unsigned char>(first)]);
    // The next byte from `from` that can begin the word: the one byte, or
    // either case of a letter.
    const auto next = [&](std::size_t from) {
        if (other == first)
            return text.find(first, from);
        for (; from < text.size(); ++from)
            if (text[from] == first || text[from] == other)
                return from;
        return std::string_view::npos;
    };
    for (std::size_t at = next(0); at != std::string_view::npos && text.size() - at >= word.size(); at = next(at + 1)) {
        std::size_t i = 1;
        while (i < word.size() && same(text[at + i], word[i]))
            ++i;
        if (i == word.size())
            return at;
    }
    return std::string_view::npos;
}

} // namespace

bool holdsPlaceholder(std::string_view text, std::string_view placeholder) {
    return findNoCase(text, placeholder) != std::string_view::npos;
}

bool replaceFirst(std::string& text, std::string_view placeholder, std::string_view value) {
    const std::size_t at = findNoCase(text, placeholder);
    if (at == std::string_view::npos)
        return false;
    text.replace(at, placeholder.size(), value);
    return true;
}

std::string replaceall(std::string_view source, std::string_view find, std::string_view replacement) {
    std::string result(source);
    if (find.empty())
        return result;
    // A replacement holding the text would be found again for ever: then
    // each occurrence is replaced once, left to right.
    const bool once = replacement.find(find) != std::string_view::npos;
    std::size_t from = 0;
    for (std::size_t at; (at = result.find(find, from)) != std::string::npos;) {
        result.replace(at, find.size(), replacement);
        // Nothing before `at` matched, so a new occurrence can only begin
        // where it reaches into the replacement.
        from = once ? at + replacement.size() : at >= find.size() - 1 ? at - (find.size() - 1) : 0;
    }
    return result;
}

} // namespace gamarium::pages
