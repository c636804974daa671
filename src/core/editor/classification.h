#pragma once

#include <string>
#include <string_view>
#include <vector>

// How a game is classified: a main type from a fixed list, a finer genre
// whose list depends on the type, and themes appended to the genre.
namespace gamarium::editor {

// The 30 types in their order; the two empty items are separators that can
// be chosen like any other, and "Puzzle/Tetris " keeps its trailing space.
const std::vector<std::string>& typeList();

// The genres offered for a type: five types (compared exactly, letter case
// included) have lists of their own; any other text gets the type list.
const std::vector<std::string>& genreListFor(std::string_view type);

// The themes box's items, and the text it shows at start.
const std::vector<std::string>& themeList();
inline constexpr std::string_view kThemesCaption = "Ext";

// The genre with a theme appended: "genre, theme", or the theme alone when
// the genre is empty.
std::string withTheme(std::string_view genre, std::string_view theme);

} // namespace gamarium::editor
