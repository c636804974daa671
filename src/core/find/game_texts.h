#pragma once

#include "core/find/search_fields.h"
#include "core/text/stored_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::store {
class Table;
}

// The game table's searchable texts, held in memory so that a search as
// the user types reads nothing from the table.
namespace gamarium::find {

// One game's texts as stored, with N and Region for showing a result.
struct GameText {
    std::int64_t record = 0; // the record's identity in the table
    text::StoredText number; // N as text, empty when not set
    text::StoredText region;
    std::array<text::StoredText, kSearchFieldCount> fields;

    const text::StoredText& field(SearchField which) const { return fields[static_cast<std::size_t>(which)]; }
};

// A run of games in table order with their texts folded for the search and
// laid out field by field: one field of every game of the run in one piece
// of memory, so that a search streams through it.
class GameChunk {
public:
    explicit GameChunk(std::vector<std::shared_ptr<const GameText>> games);

    std::size_t size() const { return games_.size(); }
    const GameText& game(std::size_t index) const { return *games_[index]; }
    const std::vector<std::shared_ptr<const GameText>>& games() const { return games_; }

    // The folded field of every game, each ended by a zero byte.
    std::string_view column(SearchField field) const { return columns_[static_cast<std::size_t>(field)].text; }
    // Where game `index`'s text begins in the column (index size(): the end).
    std::size_t start(SearchField field, std::size_t index) const {
        return columns_[static_cast<std::size_t>(field)].starts[index];
    }

private:
    struct Column {
        std::string text;
        std::vector<std::uint32_t> starts;
    };
    std::vector<std::shared_ptr<const GameText>> games_;
    std::array<Column, kSearchFieldCount> columns_;
};

// The games of a table at one moment, position 1 first. Never changed once
// made, so a search may run over it on another thread while edits go on.
class GameList {
public:
    GameList() = default;
    explicit GameList(std::vector<std::shared_ptr<const GameChunk>> chunks);

    std::size_t size() const { return size_; }
    const std::vector<std::shared_ptr<const GameChunk>>& chunks() const { return chunks_; }
    // The game at a 1-based position.
    const GameText& at(std::size_t position) const;

private:
    std::vector<std::shared_ptr<const GameChunk>> chunks_;
    std::size_t size_ = 0;
};

// The texts of a game table. Read once whole (reload), then kept in step
// by each change: a record posted, inserted or deleted at a position. A
// change of many records (renumbering, renaming, a merge) is followed by
// reload. Called from one thread; an edit rebuilds only the run of about a
// thousand games it falls in.
class GameTexts {
public:
    // Reads every record of the table with one pass.
    void reload(store::Table& games);
    // The record at the 1-based `position` now holds the table's current
    // record (posted there, or inserted there with the later ones moving down).
    void changed(std::size_t position, store::Table& games);
    void inserted(std::size_t position, store::Table& games);
    // The record at `position` was deleted; the later ones move up.
    void removed(std::size_t position);

    std::size_t size() const { return list_->size(); }
    // The games as they are now; a later edit makes a new list.
    std::shared_ptr<const GameList> snapshot() const { return list_; }

private:
    using Games = std::vector<std::shared_ptr<const GameText>>;
    // Runs `change` on the games of the run that holds `position` (the
    // last run for a position one past the end) and rebuilds that run.
    template <typename Change> void changeRun(std::size_t position, Change change);

    std::shared_ptr<const GameList> list_ = std::make_shared<GameList>();
};

} // namespace gamarium::find
