#pragma once

#include "core/files/files.h"
#include "core/files/no_case_lookup.h"
#include "core/files/system.h"

#include <optional>

#include <string_view>

namespace gamarium::pages {

// The folder the pages go to. A page whose bytes are those of the file
// already there is left alone, so the file keeps its date and a site
// upload sends only what changed.
class OutputFolder {
public:
    // `typed` as the window or the command line gives it; a backslash
    // counts as a separator. Throws Error naming the folder when it does
    // not exist.
    explicit OutputFolder(const files::Path& typed);

    const files::Path& folder() const { return folder_; }

    // The file of the page `name`: an existing file of that name in any
    // letter case, else a new one of that name.
    files::Path pageFile(std::string_view name);
    // The stamp of a pageFile, if it is there.
    std::optional<files::FileStamp> pageStamp(const files::Path& file) const;

    // Deletes the temporary files a killed run left in the folder.
    void removeTemporaries() const;

    // Writes the page file `file` (a pageFile) whole, through a temporary
    // file. Returns false when the file held these bytes already.
    bool writePage(const files::Path& file, std::string_view bytes);
    // Deletes the page file `file` (a pageFile); false when it cannot.
    bool removePage(const files::Path& file);

private:
    files::Path folder_;
    files::OpenFolder open_; // a page's stamp is asked of the folder, not found from the root
    files::NoCaseLookup names_; // the folder listed once, at the first page
};

} // namespace gamarium::pages
