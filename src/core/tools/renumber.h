#pragma once

namespace gamarium::store {
class Table;
}

namespace gamarium::tools {

// Gives every record of the game table its position as N (1 for the first)
// and leaves the cursor on the position it stood on.
void renumber(store::Table& games);

} // namespace gamarium::tools
