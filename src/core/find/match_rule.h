#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Where a search's text occurs in a folded text (search_fold.h).
namespace gamarium::find {

class MatchRule {
public:
    // `folded`: the text searched for, folded; with `wholeWord`, it may not
    // continue a word on either side.
    MatchRule(std::string folded, bool wholeWord) : needle_(std::move(folded)), wholeWord_(wholeWord) {}

    const std::string& needle() const { return needle_; }

    // Whether the occurrence of the needle at `at` counts as a match of the
    // text that lies between `start` and `end` of `texts`.
    bool acceptsAt(std::string_view texts, std::size_t at, std::size_t start, std::size_t end) const;
    // The first match in one text.
    std::optional<std::size_t> firstIn(std::string_view text) const;

private:
    std::string needle_;
    bool wholeWord_;
};

} // namespace gamarium::find
