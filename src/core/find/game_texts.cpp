#include "core/find/game_texts.h"

#include "core/error.h"
#include "core/find/search_fold.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <utility>

namespace gamarium::find {
namespace {

// Games in a run: an edit rebuilds one run, a search streams through each.
constexpr std::size_t kRunSize = 1024;

// The searchable fields of the record the table's fields hold.
std::shared_ptr<const GameText> textOf(store::Table& games) {
    auto game = std::make_shared<GameText>();
    game->record = games.recordId();
    game->number = games.field(store::games::N).asString();
    game->region = games.field(store::games::Region).asString();
    for (int i = 0; i < kSearchFieldCount; ++i)
        game->fields[static_cast<std::size_t>(i)] = games.field(fieldKey(static_cast<SearchField>(i))).asString();
    return game;
}

void checkPosition(std::size_t position, std::size_t limit) {
    if (position < 1 || position > limit)
        throw Error("Поиск: нет записи на месте " + std::to_string(position) + " (записей " + std::to_string(limit) +
                    ").");
}

// The fields of the game table that a GameText is read from.
const std::vector<store::FieldKey>& gameTextFields() {
    static const std::vector<store::FieldKey> names = [] {
        std::vector<store::FieldKey> n = {store::games::N, store::games::Region};
        for (int i = 0; i < kSearchFieldCount; ++i) n.push_back(fieldKey(static_cast<SearchField>(i)));
        return n;
    }();
    return names;
}

// A game's texts from those fields as the table file stores them.
std::shared_ptr<const GameText> gameText(store::RecordId record, std::span<const std::string_view> stored) {
    auto game = std::make_shared<GameText>();
    game->record = record;
    game->number = text::fromUtf8(stored[0]);
    game->region = text::fromUtf8(stored[1]);
    for (std::size_t i = 0; i < game->fields.size(); ++i) game->fields[i] = text::fromUtf8(stored[2 + i]);
    return game;
}

} // namespace

GameChunk::GameChunk(std::vector<std::shared_ptr<const GameText>> games) : games_(std::move(games)) {
    for (int f = 0; f < kSearchFieldCount; ++f) {
        Column& column = columns_[static_cast<std::size_t>(f)];
        std::size_t length = 0;
        for (const auto& game : games_) length += game->fields[static_cast<std::size_t>(f)].size() + 1;
        column.text.reserve(length);
        column.starts.reserve(games_.size() + 1);
        for (const auto& game : games_) {
            column.starts.push_back(static_cast<std::uint32_t>(column.text.size()));
            appendFolded(column.text, game->fields[static_cast<std::size_t>(f)].bytes());
            column.text += '\0';
        }
        column.starts.push_back(static_cast<std::uint32_t>(column.text.size()));
    }
}

GameList::GameList(std::vector<std::shared_ptr<const GameChunk>> chunks) : chunks_(std::move(chunks)) {
    std::erase_if(chunks_, [](const auto& chunk) { return chunk->size() == 0; });
    for (const auto& chunk : chunks_) size_ += chunk->size();
}

const GameText& GameList::at(std::size_t position) const {
    checkPosition(position, size_);
    std::size_t index = position - 1;
    for (const auto& chunk : chunks_) {
        if (index < chunk->size()) return chunk->game(index);
        index -= chunk->size();
    }
    throw Error("Поиск: список игр повреждён.");
}

void GameTexts::reload(store::Table& games) {
    std::vector<std::shared_ptr<const GameChunk>> chunks;
    Games run;
    games.forEachStoredRecord(gameTextFields(), [&](std::size_t, std::span<const std::string_view> stored) {
        run.push_back(gameText(games.recordId(), stored));
        if (run.size() == kRunSize) chunks.push_back(std::make_shared<GameChunk>(std::exchange(run, {})));
    });
    if (!run.empty()) chunks.push_back(std::make_shared<GameChunk>(std::move(run)));
    list_ = std::make_shared<GameList>(std::move(chunks));
}

template <typename Change> void GameTexts::changeRun(std::size_t position, Change change) {
    std::vector<std::shared_ptr<const GameChunk>> chunks = list_->chunks();
    std::size_t index = position - 1;
    std::size_t run = 0;
    while (run + 1 < chunks.size() && index >= chunks[run]->size()) index -= chunks[run++]->size();
    Games games = chunks.empty() ? Games{} : chunks[run]->games();
    change(games, index);
    // A run grown twice its size is split in two.
    std::vector<std::shared_ptr<const GameChunk>> rebuilt;
    if (games.size() >= 2 * kRunSize) {
        const auto middle = games.begin() + static_cast<std::ptrdiff_t>(games.size() / 2);
        rebuilt.push_back(std::make_shared<GameChunk>(Games(games.begin(), middle)));
        rebuilt.push_back(std::make_shared<GameChunk>(Games(middle, games.end())));
    } else {
        rebuilt.push_back(std::make_shared<GameChunk>(std::move(games)));
    }
    if (chunks.empty()) {
        chunks = std::move(rebuilt);
    } else {
        const auto at = chunks.erase(chunks.begin() + static_cast<std::ptrdiff_t>(run));
        chunks.insert(at, rebuilt.begin(), rebuilt.end());
    }
    list_ = std::make_shared<GameList>(std::move(chunks));
}

void GameTexts::changed(std::size_t position, store::Table& games) {
    checkPosition(position, size());
    auto game = textOf(games);
    changeRun(position, [&](Games& run, std::size_t index) { run[index] = std::move(game); });
}

void GameTexts::inserted(std::size_t position, store::Table& games) {
    checkPosition(position, size() + 1);
    auto game = textOf(games);
    changeRun(position, [&](Games& run, std::size_t index) {
        run.insert(run.begin() + static_cast<std::ptrdiff_t>(index), std::move(game));
    });
}

void GameTexts::removed(std::size_t position) {
    checkPosition(position, size());
    changeRun(position, [](Games& run, std::size_t index) { run.erase(run.begin() + static_cast<std::ptrdiff_t>(index)); });
}

} // namespace gamarium::find
