#include "core/find/followed_texts.h"

namespace gamarium::find {

FollowedTexts::~FollowedTexts() {
    follow(nullptr);
}

void FollowedTexts::follow(store::Table* table) {
    if (table_) table_->removeChangeListener(listener_);
    table_ = table;
    stale_ = true;
    texts_ = GameTexts();
    if (table_) listener_ = table_->addChangeListener([this](const store::ChangeEvent& event) { heard(event); });
}

std::shared_ptr<const GameList> FollowedTexts::snapshot() {
    // Reading the table posts a change under way, which would leave the
    // editor's typing behind, and a tool holds the cursor.
    if (stale_ && table_ && table_->state() == store::TableState::Browse && !table_->changingMany()) {
        texts_.reload(*table_);
        stale_ = false;
    }
    return texts_.snapshot();
}

void FollowedTexts::heard(const store::ChangeEvent& event) {
    using Kind = store::ChangeEvent::Kind;
    const bool stored = event.kind == Kind::Saved || event.kind == Kind::Inserted || event.kind == Kind::Deleted;
    if (!stored && event.kind != Kind::Opened && event.kind != Kind::Reloaded && event.kind != Kind::Closed) return;
    // The many changes of a tool end with Reloaded: one reading then.
    if (table_->changingMany()) {
        stale_ = true;
        return;
    }
    if (!stale_) {
        switch (event.kind) {
        case Kind::Saved: texts_.changed(event.position, *table_); break;
        case Kind::Inserted: texts_.inserted(event.position, *table_); break;
        case Kind::Deleted: texts_.removed(event.position); break;
        default: stale_ = true; break;
        }
    }
    if (changed_) changed_();
}

} // namespace gamarium::find
