#pragma once

#include <string_view>

namespace gamarium::store {
class Table;
}

// Finding a game in a table kept in name order, whose N values are the
// records' positions (as renumbering leaves them).
namespace gamarium::editor {

// How a typed text compares with a name: both lower-cased by the code page,
// compared as unsigned bytes, the name cut to the text's length first
// (a shorter text sorts first). Negative: the text sorts before the name.
int compareWithName(std::string_view lowerText, std::string_view name);

// Leaves the cursor on the first record, at or after where the search
// narrowed to, whose name does not sort before `text` (looking at most two
// records further), or on the end of the searched range when `text` sorts
// after all of it. Searches after the current record when its name sorts
// before `text`, else up to it. Reads about 3 log2(n) records.
void findname(store::Table& games, std::string_view text);

// The quick jump: a text of digits only (the empty text included) is a
// record position; any other text is searched as a name. A position that
// is empty or does not fit 32 bits fails with the conversion error, the
// cursor left on the first record.
void quickJump(store::Table& games, std::string_view text);

} // namespace gamarium::editor
