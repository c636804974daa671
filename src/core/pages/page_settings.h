#pragma once

#include "core/files/files.h"
#include "core/pages/block.h"

#include <string>
#include <string_view>

namespace gamarium::pages {

// The generator window's settings, with its defaults.
struct PageSettings {
    int gamesPerPage = 11;
    BlockSettings block;
    // As typed, a name of the file system: a backslash counts as a
    // separator and the trailing one may be left out.
    files::Path outputFolder = "c:\\site\\";
    // When given (UTF-8, http:// or https://), the run also writes
    // sitemap.xml listing every page under this address.
    std::string siteUrl;
};

// The output folder the window starts with: "c:\site\" where paths have
// drive letters; elsewhere the folder "site" of the program folder `home`,
// with its trailing separator.
files::Path defaultOutputFolder(const files::Path& home);

// Games per page as typed in the window: a whole number, else Error.
int gamesPerPageFromText(std::string_view typed);

} // namespace gamarium::pages
