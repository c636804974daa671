#pragma once

namespace gamarium::store {
class Table;
}

namespace gamarium::editor {

// "OK" in the editor: saves the current record (on an empty table that
// writes an empty record), goes to the last record and starts a new one
// after it with the last record's Sid and Region, N one more than its N and
// Ngamers 1. The new record stays unsaved until the user saves it or moves.
void appendNextGame(store::Table& games);

} // namespace gamarium::editor
