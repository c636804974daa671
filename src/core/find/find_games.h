#pragma once

#include "core/find/game_texts.h"
#include "core/find/search_fields.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Finding games by any of their texts.
namespace gamarium::find {

struct FindQuery {
    text::StoredText text;
    FieldSet fields = FieldSet::all();
    bool wholeWord = false; // the text may not continue a word on either side
};

// Where a game matched: its first match in one field. A game that matches
// in several fields gives one match per field, in field order.
struct FindMatch {
    std::size_t position = 0; // 1-based, in table order
    SearchField field = SearchField::Name;
    std::uint32_t offset = 0; // in the field's text
    std::uint32_t length = 0;
};

// A match as the user sees it.
struct FindResult {
    std::size_t position = 0;
    std::int64_t record = 0; // the game's identity in the table
    text::StoredText number, name, region; // N, Name, Region
    SearchField field = SearchField::Name;
    text::StoredText excerpt; // the field's text around the match, on one line
};

// Asked now and then during a search; true ends it (the user typed on).
using CancelCheck = std::function<bool()>;

struct FindOutcome {
    std::vector<FindMatch> matches; // in table order
    bool cancelled = false;         // then `matches` is empty
};

// The matches without regard to case (Ё as Е). An empty text matches nothing.
FindOutcome findGames(const GameList& games, const FindQuery& query, const CancelCheck& cancelled = {});

// A match with its game's N, name and region and a short excerpt.
FindResult describe(const GameList& games, const FindMatch& match);
FindResult describe(const GameText& game, const FindMatch& match);

} // namespace gamarium::find
