#include "core/find/find_games.h"

#include "core/find/match_rule.h"
#include "core/find/search_fold.h"
#include "core/text/byte_search.h"

#include <algorithm>
#include <array>

namespace gamarium::find {
namespace {

// Characters of the excerpt on each side of the match.
constexpr std::size_t kExcerptSide = 30;

// Adds the first match of each game of the chunk in the field's column,
// in the order of the games.
void searchColumn(const MatchRule& rule, const GameChunk& chunk, SearchField field, std::size_t firstPosition,
                  std::vector<FindMatch>& matches) {
    const std::string_view column = chunk.column(field);
    const std::string& needle = rule.needle();
    std::size_t game = 0;
    for (std::size_t at = text::findBytes(column, needle, 0); at != std::string_view::npos;
         at = text::findBytes(column, needle, at + 1)) {
        // The matches come in order: the game holding this one is found by
        // stepping on from the last.
        while (chunk.start(field, game + 1) <= at) ++game;
        const std::size_t start = chunk.start(field, game);
        const std::size_t end = chunk.start(field, game + 1) - 1; // before its zero byte
        if (!rule.acceptsAt(column, at, start, end)) continue;
        matches.push_back({firstPosition + game, field, static_cast<std::uint32_t>(at - start),
                           static_cast<std::uint32_t>(needle.size())});
        at = end; // one match a field
    }
}

// A piece of a field's text on one line: line ends and tabs become spaces.
std::string oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return line;
}

// The matches of each field (each list in the order of the games) as one
// list in the order of the games, a game's fields in field order.
void mergeByGame(std::array<std::vector<FindMatch>, kSearchFieldCount>& byField, std::vector<FindMatch>& matches) {
    std::array<std::size_t, kSearchFieldCount> next{};
    for (;;) {
        std::size_t first = 0;
        for (std::size_t f = 0; f < byField.size(); ++f)
            if (next[f] < byField[f].size() && (first == 0 || byField[f][next[f]].position < first))
                first = byField[f][next[f]].position;
        if (first == 0) break;
        for (std::size_t f = 0; f < byField.size(); ++f)
            if (next[f] < byField[f].size() && byField[f][next[f]].position == first)
                matches.push_back(byField[f][next[f]++]);
    }
    for (auto& list : byField) list.clear();
}

} // namespace

FindOutcome findGames(const GameList& games, const FindQuery& query, const CancelCheck& cancelled) {
    FindOutcome outcome;
    if (query.text.empty() || query.fields.isEmpty()) return outcome;
    const MatchRule rule(foldForSearch(query.text.bytes()), query.wholeWord);
    std::array<std::vector<FindMatch>, kSearchFieldCount> byField;
    std::size_t firstPosition = 1;
    for (const auto& chunk : games.chunks()) {
        for (int i = 0; i < kSearchFieldCount; ++i) {
            const auto field = static_cast<SearchField>(i);
            if (!query.fields.contains(field)) continue;
            if (cancelled && cancelled()) return {{}, true};
            searchColumn(rule, *chunk, field, firstPosition, byField[static_cast<std::size_t>(i)]);
        }
        mergeByGame(byField, outcome.matches);
        firstPosition += chunk->size();
    }
    return outcome;
}

FindResult describe(const GameText& game, const FindMatch& match) {
    const std::string_view text = game.field(match.field).bytes();
    const std::size_t from = match.offset > kExcerptSide ? match.offset - kExcerptSide : 0;
    const std::size_t to = std::min(text.size(), std::size_t{match.offset} + match.length + kExcerptSide);
    std::string excerpt =
        (from > 0 ? "..." : "") + oneLine(text.substr(from, to - from)) + (to < text.size() ? "..." : "");
    return {match.position,
            game.record,
            game.number,
            game.field(SearchField::Name),
            game.region,
            match.field,
            text::StoredText::fromCp1251(std::move(excerpt))};
}

FindResult describe(const GameList& games, const FindMatch& match) {
    return describe(games.at(match.position), match);
}

} // namespace gamarium::find
