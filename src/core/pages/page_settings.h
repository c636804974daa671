#pragma once

#include "pages/block.h"

#include <string>
#include <string_view>

namespace gamarium::pages {

// The generator window's settings, with its defaults.
struct PageSettings {
    int gamesPerPage = 11;
    BlockSettings block;
    // Windows-1251, as typed: a backslash counts as a separator and the
    // trailing one may be left out.
    std::string outputFolder = "c:\\site\\";
};

// Games per page as typed in the window: a whole number, else Error.
int gamesPerPageFromText(std::string_view typed);

} // namespace gamarium::pages
