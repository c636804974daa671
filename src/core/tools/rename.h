#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace gamarium::history {
class PictureJournal;
}

namespace gamarium::store {
class Table;
}

namespace gamarium::tools {

// A game's picture group from its name: "num" for a name beginning with a
// digit, else its first character in the code page's lower case; empty for
// an empty name.
text::StoredText sidof(const text::StoredText& name);

struct PictureMove {
    text::StoredText name;
    text::StoredText problem; // empty when the file was moved (or copied)
    bool copied = false; // copied, not moved: another game of the old group names it too
};

struct RenameResult {
    bool renamed = false;
    text::StoredText oldSid, newSid;
    std::vector<PictureMove> pictures; // when the Sid changed
};

// Gives the current game `newName`: a copy of its record goes where the new
// name belongs in name order (found as the quick jump's name search finds
// it), with the old name added to Drname and Sid following the new name
// (a "pd" game stays "pd"); the old record goes. These table changes are
// one transaction. When the Sid changes the game's pictures then move to
// the new picture folder under `pictureRoot` (images/<base>), made when
// missing; a picture that another game of the old Sid names too is copied
// instead, and no file is overwritten. Each move and copy is told to
// `journal` first. A Sid change from or to a Sid that
// cannot be a folder's name is refused (Error) before anything changes.
// The cursor ends on the new record. Nothing happens for an empty name or
// table.
RenameResult renameGame(store::Table& games, const files::Path& pictureRoot, const text::StoredText& newName,
                        history::PictureJournal& journal);

// The message about the moved pictures (lines ended by CR).
text::StoredText movedPicturesMessage(const RenameResult& result);

// The status line about pictures copied rather than moved; empty when
// there are none.
text::StoredText copiedPicturesLine(const RenameResult& result);

} // namespace gamarium::tools
