#pragma once

#include "core/files/files.h"
#include "core/tools/status.h"

#include <string>
#include <string_view>

namespace gamarium::history {
class PictureJournal;
}

namespace gamarium::store {
class Table;
}

// Bringing in pictures from a collection named after the games, as the
// collections of emulator front-ends are: "Named_Snaps/Chrono Trigger (USA).png".
namespace gamarium::tools {

// A name as such collections write it: & * / : ` < > ? \ | become "_".
std::string collectionName(std::string_view name);

// The name of a picture brought in for a slot (a picture field, from 1):
// the start of the game's picture names (minus of its name, which the
// picture chooser offers first), the slot's digit, `extra` (a "_2" when the name is taken) and
// the extension in lower case, the start cut so that the whole fits the
// picture field.
std::string slotPictureName(std::string_view gameName, int slot, std::string_view extra, std::string_view extension);

struct PicturesByNameOptions {
    int slot = 0;        // a picture field from 1: only that one; 0: the first empty one
    bool dryRun = false; // report what would be done, change nothing
};

struct PicturesByNameCounts {
    int added = 0;
    int alreadyThere = 0; // the game already has a picture with the same content
    int unmatched = 0;    // files of the collection that match no game
    int skipped = 0;      // unreadable, no free field, or a picture folder that may not be used
};

// Looks in `folder` and its Named_Boxarts, Named_Snaps and Named_Titles
// subfolders for each game's pictures: a file whose name without extension
// equals the game's File (its last part, without extension) or its Name
// followed by its region words in parentheses ("Name (USA)"; the Name alone
// for an empty region), after collectionName, without regard to case. Each
// match goes into the game's picture folder under `pictureRoot`
// (images/<base>) under slotPictureName and into the first empty ImageN
// (or options.slot). A picture with the same content already in the
// game's folder (a copy a killed run left, or one that another game of the
// folder takes now) is named instead of copied again, so games of one
// folder share one file. No file and no filled field is overwritten: a
// name taken (a file or a link there, or a name a record gives) gets "_2",
// "_3", ..., which is reported. A file the program cannot read as a picture
// is reported and skipped. The records change in one transaction; the
// pictures are copied first (each through a temporary file, after the
// temporaries a killed run left in that folder are removed, and told to
// `journal` first) and removed again if the transaction fails.
PicturesByNameCounts addPicturesByName(store::Table& games, const files::Path& pictureRoot,
                                       const files::Path& folder, const PicturesByNameOptions& options,
                                       history::PictureJournal& journal, const StatusSink& report,
                                       const Progress& progress = {});

// The closing line of the report.
text::StoredText countsLine(const PicturesByNameCounts& counts, bool dryRun);

} // namespace gamarium::tools
