#pragma once

#include "core/files/files.h"
#include "core/pages/messages.h"
#include "core/pages/page_settings.h"
#include "core/pages/template_file.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace gamarium::store {
class Table;
}

namespace gamarium::pages {

// Pages done so far of all the run will write, for a progress bar.
using ProgressSink = std::function<void(int done, int total)>;

struct GeneratorCallbacks {
    MessageSink messages;
    ProgressSink progress;
};

struct GenerationReport {
    bool refused = false; // told why through the messages; nothing written
    int pagesWritten = 0;
    int pagesUnchanged = 0; // equal to the file there, left untouched
    int pagesRemoved = 0;   // made by an earlier run for a letter group that is gone
};

// Writes the whole site into settings.outputFolder: the pages of every
// letter group (key, key2, ... .htm), then "ru" (games with a Russian
// translation) and "dejap" (other patched games) when they have games.
// Each page is the head, settings.gamesPerPage game blocks (fewer on the
// last page, none when the set fills its pages exactly) and the foot.
//
// Refused, with a message and nothing written: an empty game block, games
// per page below 1, an empty game table. Throws Error for a missing output
// folder, a page that cannot be written (pages written before stay), a
// Sid that would put a page outside the folder, or a table error.
// Pictures are looked up in images/<base>/<Sid>/ of the program folder
// `home`. Afterwards the game table stands on the last game rendered and
// the patch table on the last patch looked up.
GenerationReport generatePages(store::Table& games, store::Table& patches, const files::Path& home,
                               std::string_view base, const PageTemplate& pageTemplate, const PageSettings& settings,
                               const GeneratorCallbacks& callbacks = {});

// Where the pictures of a page are linked: the site's picture path, or the
// picture files on this disk (file:// URLs), for a page looked at before
// it is published.
enum class PictureLinks { Site, Files };

// Writes into `file` the one page that holds the game at the 1-based
// `position` (the page of its letter group), as generatePages with the
// same template and settings writes it; with PictureLinks::Files each
// $Image is the URL of the game's picture file. Nothing else is written.
// Refused as generatePages is (told, false); throws Error for a position
// without a game. Neither table moves.
//
// Shown in a browser (`view`), the page also has a <base> naming the site's
// folder, so that the pictures the template names itself (flags, rating
// bars) are found there, and an anchor before the game's block, so that
// the browser opens the page at the game.
struct BrowserView {
    files::Path siteFolder; // empty: no <base>
    std::string anchor;     // the anchor's id
};
bool previewPage(store::Table& games, store::Table& patches, const files::Path& home, std::string_view base,
                 const PageTemplate& pageTemplate, PageSettings settings, std::int64_t position, PictureLinks links,
                 const files::Path& file, const MessageSink& messages = {}, const BrowserView* view = nullptr);

} // namespace gamarium::pages
