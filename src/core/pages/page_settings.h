#pragma once

#include "core/files/files.h"
#include "core/pages/block.h"

#include <optional>
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

// The settings as a front end gathers them, each as typed (Windows-1251);
// one not given keeps its default.
struct TypedPageSettings {
    std::optional<std::string> gamesPerPage;
    std::optional<std::string> russianPatchPath;
    std::optional<std::string> otherPatchPath;
    std::optional<std::string> imagePath;
};
// Throws Error for games per page that is not a whole number.
PageSettings pageSettingsFrom(const TypedPageSettings& typed);

// The defaults of the typed settings, in the order above, as the command
// line's help lists them (UTF-8).
std::string defaultSettingsText();

} // namespace gamarium::pages
