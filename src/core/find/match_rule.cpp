#include "core/find/match_rule.h"

#include "core/find/search_fold.h"
#include "core/text/byte_search.h"

namespace gamarium::find {

bool MatchRule::acceptsAt(std::string_view texts, std::size_t at, std::size_t start, std::size_t end) const {
    const std::size_t after = at + needle_.size();
    if (after > end) return false;
    if (!wholeWord_) return true;
    const bool joinsBefore = at > start && isWordCharacter(needle_.front()) && isWordCharacter(texts[at - 1]);
    const bool joinsAfter = after < end && isWordCharacter(needle_.back()) && isWordCharacter(texts[after]);
    return !joinsBefore && !joinsAfter;
}

std::optional<std::size_t> MatchRule::firstIn(std::string_view text) const {
    for (std::size_t at = text::findBytes(text, needle_, 0); at != std::string_view::npos;
         at = text::findBytes(text, needle_, at + 1))
        if (acceptsAt(text, at, 0, text.size())) return at;
    return std::nullopt;
}

} // namespace gamarium::find
