#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>

// Where a page looked at before it is published may be written. A preview
// is a throw-away page, so it must never take the place of anything the
// user keeps: a table, a picture, a cache, the template it is made from, or
// any other file that was not itself a preview.
namespace gamarium::pages {

// Refuses (Error, UTF-8) a `file` inside the program folder's base/,
// images/ or cache/, the template itself, and, unless `overwrite`, an
// existing file that is not a preview this program folder wrote and
// nobody changed since.
void checkPreviewTarget(const files::Path& home, const files::Path& templateFile, const files::Path& file,
                        bool overwrite);

// Where the windows show a base's preview in a browser: cache/preview/ of
// the program folder, the page as <base>.htm and beside it <base>-open.htm,
// which sends the browser to the game's anchor on the page (a file URL
// with an anchor does not pass through every system's opener).
struct BrowserPreview {
    files::Path page, opener;
};
BrowserPreview browserPreviewFiles(const files::Path& home, std::string_view base);
// The opener's bytes, sending the browser to `anchor` on the page.
std::string openerPage(const BrowserPreview& preview, std::string_view anchor);

// Notes `file`, just written, as a preview that a later one may replace.
// A note that cannot be kept only means the next preview there asks for
// overwrite.
void notePreviewWritten(const files::Path& home, const files::Path& file);

} // namespace gamarium::pages
