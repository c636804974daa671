#pragma once

#include "core/error.h"
#include "core/store/table.h"

#include <string>

namespace gamarium::testing {

// Makes the table's `nth` post from now on fail with `message`, as a full
// disk would: the failure is thrown as the post is heard. Lets go when
// destroyed.
class FailingPost {
public:
    FailingPost(store::Table& table, int nth, std::string message) : table_(table) {
        id_ = table_.addChangeListener([this, nth, message](const store::ChangeEvent& event) {
            const bool posted =
                event.kind == store::ChangeEvent::Kind::Saved || event.kind == store::ChangeEvent::Kind::Inserted;
            if (posted && ++posts_ == nth) throw Error(message);
        });
    }
    ~FailingPost() { table_.removeChangeListener(id_); }
    FailingPost(const FailingPost&) = delete;
    FailingPost& operator=(const FailingPost&) = delete;

private:
    store::Table& table_;
    int posts_ = 0;
    int id_ = 0;
};

} // namespace gamarium::testing
