#pragma once

#include "core/error.h"
#include "core/store/table.h"

#include <string>

namespace gamarium::testing {

// Makes the table's `nth` post from now on fail with `message`, as a full
// disk would: the post is heard as a change from a change under way to
// browsing, and the failure is thrown from there. Lets go when destroyed.
class FailingPost {
public:
    FailingPost(store::Table& table, int nth, std::string message) : table_(table) {
        id_ = table_.addChangeListener([this, nth, message](const store::Field* changed) {
            const store::TableState state = table_.state();
            const bool posted = !changed && was_ != store::TableState::Browse && state == store::TableState::Browse;
            was_ = state;
            if (posted && ++posts_ == nth) throw Error(message);
        });
    }
    ~FailingPost() { table_.removeChangeListener(id_); }
    FailingPost(const FailingPost&) = delete;
    FailingPost& operator=(const FailingPost&) = delete;

private:
    store::Table& table_;
    store::TableState was_ = table_.state();
    int posts_ = 0;
    int id_ = 0;
};

} // namespace gamarium::testing
