#pragma once

#include "core/find/game_texts.h"
#include "core/store/table.h"

#include <memory>

namespace gamarium::gui {

// The find window's texts of the editor's game table, kept in step with the
// table by listening to it. They are read whole only when first asked for
// after the editor opened a base or a change they could not follow. A post
// that leaves the cursor on its record and a delete are followed in place
// (the editor saves typing in place before it moves: RecordForm::save); a
// post followed by a move (the record's values are gone by the time the
// listener hears) and an insertion mark the texts stale, and they are read
// anew when next asked for. While a whole-base tool runs, the texts only
// become stale, so that its thousands of posts cost nothing here.
class FollowedTexts {
public:
    FollowedTexts() = default;
    ~FollowedTexts();
    FollowedTexts(const FollowedTexts&) = delete;
    FollowedTexts& operator=(const FollowedTexts&) = delete;

    // The table followed; nullptr lets go.
    void follow(store::Table* table);
    // The games as they are now, read anew if they had become stale and
    // no change of a record is under way.
    std::shared_ptr<const find::GameList> snapshot();

    // While one lives, changes to the table are not followed one by one:
    // the texts are read anew when next asked for.
    class WholeBaseChange {
    public:
        explicit WholeBaseChange(FollowedTexts& texts);
        ~WholeBaseChange();
        WholeBaseChange(const WholeBaseChange&) = delete;
        WholeBaseChange& operator=(const WholeBaseChange&) = delete;

    private:
        FollowedTexts& texts_;
    };

private:
    void heard();
    void remember();

    store::Table* table_ = nullptr;
    int listener_ = 0;
    find::GameTexts texts_;
    bool stale_ = true;
    int wholeBaseChanges_ = 0;
    // The table as the last notification left it.
    store::TableState state_ = store::TableState::Inactive;
    int count_ = 0;
    int number_ = 0;
};

} // namespace gamarium::gui
