#pragma once

#include "core/find/game_texts.h"
#include "core/store/table.h"

#include <functional>
#include <memory>

namespace gamarium::find {

// The searchable texts of a game table, kept in step with it by its events
// alone: a record saved, inserted or deleted is followed in place; after a
// change of many records (a whole-base tool) or an opening, the texts are
// read whole when next asked for.
class FollowedTexts {
public:
    FollowedTexts() = default;
    ~FollowedTexts();
    FollowedTexts(const FollowedTexts&) = delete;
    FollowedTexts& operator=(const FollowedTexts&) = delete;

    // The table followed; nullptr lets go.
    void follow(store::Table* table);
    // Told after the texts changed, so that a search shown may run again.
    // It is told from within the table's events: it may only note that,
    // and ask for the texts later.
    void onChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    // The games as they are now, read anew if they had become stale, the
    // table at rest (no change of a record, no tool under way); otherwise
    // the texts as they were.
    std::shared_ptr<const GameList> snapshot();

private:
    void heard(const store::ChangeEvent& event);

    store::Table* table_ = nullptr;
    int listener_ = 0;
    GameTexts texts_;
    bool stale_ = true;
    std::function<void()> changed_;
};

} // namespace gamarium::find
