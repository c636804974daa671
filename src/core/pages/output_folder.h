#pragma once

#include "files/no_case_folder.h"

#include <string_view>

namespace gamarium::pages {

// The folder the pages go to. A page whose bytes are those of the file
// already there is left alone, so the file keeps its date and a site
// upload sends only what changed.
class OutputFolder {
public:
    // `typed` as the window holds it (Windows-1251). Throws Error naming
    // the folder when it does not exist.
    explicit OutputFolder(std::string_view typed);

    // Writes the page file `name` whole, through a temporary file; an
    // existing file of that name in any letter case is the one replaced.
    // Returns false when the file held these bytes already. The folder is
    // listed once, when the run starts, not for every page.
    bool writePage(std::string_view name, std::string_view bytes);

private:
    files::NoCaseFolder folder_;
};

} // namespace gamarium::pages
