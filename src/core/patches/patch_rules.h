#pragma once

#include <cstdint>

namespace gamarium::store {
class Table;
}

namespace gamarium::patches {

// Writes the current patch record as it stands (edit, then post); on an
// empty table that writes a blank record.
void writeCurrentPatch(store::Table& patches);

// The N that "+" gives a new patch: the last record's N read as a 16-bit
// unsigned number, plus one. A negative N wraps round, so the result may
// lie outside what the N field accepts.
std::int64_t nextPatchNumber(std::int64_t lastN);

// "+" in the patch window: writes the current record, goes to the last one
// and begins a new record after it with only N filled in. The new record
// stays unwritten for the user to complete; an N the field refuses fails
// with the table's range error and leaves the record begun with N empty.
void appendNextPatch(store::Table& patches);

// Goes to the patch a game links to: the game's Patch field counts patch
// records from 1 in table order. 0 or less stays on the first record, a
// link past the end stops at the last. A pending change is written first.
void goToLinkedPatch(store::Table& patches, std::int64_t link);

} // namespace gamarium::patches
