#pragma once

#include <string>
#include <string_view>

// The genre of the metadata files as the editor's Type and Genre.
namespace gamarium::dat {

struct Classification {
    std::string type;  // an item of the editor's type list, or empty
    std::string genre; // the words that gave no type, joined by ", "
};

// Splits the genre text at "," and "/"; the first word the genre table
// knows gives the type ("Role-playing (RPG)" gives "RPG", "Racing" gives
// "Race/Driving"), every other word goes to the genre in its order.
Classification classifyGenre(std::string_view genre);

} // namespace gamarium::dat
