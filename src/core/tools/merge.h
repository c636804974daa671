#pragma once

#include "tools/status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::store {
class Table;
}

// Merging a game list file: one game a line, "name part;region".
namespace gamarium::tools {

// The text with one bracketed tag removed: the one beginning at the first
// occurrence of `tag` ("[" closes with "]", any other tag with ")").
std::string cuttag(std::string_view text, std::string_view tag);

// A list name without its tags in square brackets and parentheses.
std::string cleanname(std::string_view namePart);

// What one line of a list file adds.
struct ListGame {
    std::string name, sid, region;
};

// The game a line gives, or nothing for a line without ";" or whose name
// is empty once cleaned.
std::optional<ListGame> parseListLine(std::string_view line);

// The lines of a list file: CR LF, a lone CR or a lone LF ends a line.
std::vector<std::string> listLines(std::string_view file);

// Appends a record for every line of the list file (Windows-1251) at the
// end of the game table, numbered on from the last record's N, and saves
// every one. A file whose first line has no ";" is refused before anything
// is added ("файл не тот. Оставь эту затею."). Lines that cannot be a game
// are passed over and reported, each with its line number, after all lines
// are done. A table error ends the merge at that line with a message
// naming it; the records saved before stay. Returns the records added.
int mergeList(store::Table& games, std::string_view file, const StatusSink& report, const Progress& progress = {});

} // namespace gamarium::tools
