#pragma once

#include "core/files/files.h"
#include "core/files/system.h"
#include "core/tools/status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gamarium::history {
class PictureJournal;
}

namespace gamarium::store {
class Table;
}

// What is wrong with a base's picture folders beyond missing pictures:
// files no record names, folders no record uses, and pictures kept twice.
namespace gamarium::tools {

// A file in a game's picture folder.
struct PictureFile {
    text::StoredText sid;  // the folder's name as it is on disk
    text::StoredText name; // the file's name as it is on disk
    std::uintmax_t size = 0;
    files::Path path;
    files::FileId id;

    text::StoredText shown() const { return sid + "/"_stored + name; }
};

// A link among the Sid folders.
struct LinkedFolder {
    text::StoredText name;   // as on disk
    text::StoredText target; // what the link holds
    bool outside = false; // it leads out of the picture folder
};

struct PictureAudit {
    std::vector<PictureFile> orphans;              // named by no record
    std::vector<text::StoredText> unusedFolders;   // Sid folders no record uses
    std::vector<LinkedFolder> linkedFolders;
    std::vector<std::vector<PictureFile>> twice;   // sets of files with the same content
};

// Lists each picture folder under `pictureRoot` (images/<base>) once; the
// light/ set and the _orphans/ folder are not counted. A record names a file
// of its Sid folder by any of its picture fields, letter case aside. Content is
// compared only among files of equal size: first a hash of their starts,
// then, for those alike, byte by byte.
// Links are never audited themselves: a file is counted once under its
// first real name, and is in use when a record names it by any name or
// through any link that reaches it. A linked Sid folder is listed; one that
// leads out of the picture folder is not looked into.
PictureAudit auditPictures(store::Table& games, const files::Path& pictureRoot, const Progress& progress = {});

// The audit as status lines, and a closing line with the counts.
void reportAudit(const PictureAudit& audit, const StatusSink& report);

// Moves the orphans into _orphans/<Sid>/ under `pictureRoot`, keeping their
// names; a file whose place there is taken stays where it is and is
// reported. Nothing is overwritten or deleted: moving the files back undoes
// it, and each move is told to `journal` first. An _orphans folder (or a
// Sid folder in it) that is a link is refused before anything moves.
// Returns how many were moved.
int moveOrphans(const PictureAudit& audit, const files::Path& pictureRoot, history::PictureJournal& journal,
                const StatusSink& report);

} // namespace gamarium::tools
