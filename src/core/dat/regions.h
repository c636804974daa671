#pragma once

#include <string>
#include <string_view>
#include <vector>

// The region of a DAT game as the letters of the site's flag pictures.
namespace gamarium::dat {

struct RegionLetters {
    std::string letters;                // at most 3, none twice: "ue", "jue"
    std::vector<std::string> unknown;   // region words the table lacks
};

// The letters of comma-separated region words ("USA, Europe" gives "ue"),
// in the order of the words: USA and Canada u, Japan j, Europe and the
// European countries e, World jue, and the others of the table.
RegionLetters regionLetters(std::string_view words);

// The letters of a DAT game: those of the first parenthesis group of its
// name whose words are all region words ("(^^; (Japan)" gives "Japan"),
// else those of its region field (whose unknown words are reported).
RegionLetters gameRegion(std::string_view name, std::string_view regionField);

} // namespace gamarium::dat
