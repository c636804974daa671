#include "gui/editor/followed_texts.h"

namespace gamarium::gui {

FollowedTexts::~FollowedTexts() {
    follow(nullptr);
}

void FollowedTexts::follow(store::Table* table) {
    if (table_) table_->removeChangeListener(listener_);
    table_ = table;
    stale_ = true;
    texts_ = find::GameTexts();
    if (!table_) return;
    listener_ = table_->addChangeListener([this](const store::Field* field) {
        // A value written into a field is not stored yet: only the post counts.
        if (!field) heard();
    });
    remember();
}

std::shared_ptr<const find::GameList> FollowedTexts::snapshot() {
    // Reading the table posts a change under way, which would leave the
    // editor's typing behind, and a whole-base tool holds the cursor: then
    // the search goes on over the texts as they were.
    if (stale_ && wholeBaseChanges_ == 0 && table_ && table_->state() == store::TableState::Browse) {
        texts_.reload(*table_);
        stale_ = false;
        remember();
    }
    return texts_.snapshot();
}

void FollowedTexts::remember() {
    const bool open = table_ && table_->isOpen();
    state_ = open ? table_->state() : store::TableState::Inactive;
    count_ = open ? table_->recordCount() : 0;
    number_ = open ? table_->recordNumber() : 0;
}

void FollowedTexts::heard() {
    const store::TableState before = state_;
    const int countBefore = count_;
    const int numberBefore = number_;
    remember();
    if (stale_) return;
    if (wholeBaseChanges_ > 0 || state_ == store::TableState::Inactive) {
        stale_ = true;
        return;
    }
    const bool ended = before != store::TableState::Browse && state_ == store::TableState::Browse;
    if (count_ == countBefore - 1 && numberBefore >= 1) {
        texts_.removed(static_cast<std::size_t>(numberBefore));
    } else if (count_ != countBefore) {
        stale_ = true;
    } else if (ended && before == store::TableState::Edit) {
        // Posted (or cancelled) in place: the current record is the one
        // that changed. Posted and moved on: its values are gone.
        if (number_ == numberBefore)
            texts_.changed(static_cast<std::size_t>(number_), *table_);
        else
            stale_ = true;
    }
}

FollowedTexts::WholeBaseChange::WholeBaseChange(FollowedTexts& texts) : texts_(texts) {
    ++texts_.wholeBaseChanges_;
}

FollowedTexts::WholeBaseChange::~WholeBaseChange() {
    --texts_.wholeBaseChanges_;
    texts_.stale_ = true;
}

} // namespace gamarium::gui
