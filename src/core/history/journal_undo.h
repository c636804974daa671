#pragma once

#include "core/files/files.h"
#include "core/history/picture_journal.h"

#include <map>
#include <optional>
#include <string>

namespace gamarium::history {

// Takes back what journals say commands did to picture files, one entry at
// a time, newest first: a file moved goes back where it was, a file made
// as a copy goes (into `removedFolder`, the restore's own point, so that
// undoing the restore brings it back). Only a file whose content is still
// the journal's is touched; nothing is overwritten. Every change is told to
// `journal` first. Run dry, it changes nothing and answers as the real run
// would, following the changes it would have made.
class JournalUndo {
public:
    enum class Outcome { PutBack, Removed, AlreadyDone, Changed, Missing, PlaceTaken, Failed };

    // A dry run: no journal, no folder.
    explicit JournalUndo(files::Path home);
    JournalUndo(files::Path home, PictureJournal& journal, files::Path removedFolder);

    Outcome undo(const JournalEntry& entry);

    // Whether a file stands at `path` (as a dry run's changes would have left it).
    bool exists(const files::Path& path) const { return state(path).exists; }
    // Moves `from` to `to` (making its folder), told to the journal first
    // when `told`; false when it cannot.
    bool move(const files::Path& from, const files::Path& to, bool told = true);
    // What a restore does to its tables beside the journals, for a dry run
    // to follow: `path` is gone, or it now is as the file `like` is.
    void gone(const files::Path& path);
    void replaced(const files::Path& path, const files::Path& like);
    bool dryRun() const { return journal_ == nullptr; }

    // The report line of an entry's outcome (UTF-8); empty when there is
    // nothing to say.
    std::string line(const JournalEntry& entry, Outcome outcome) const;
    // Whether the outcome leaves a file not put back.
    static bool isProblem(Outcome outcome);

private:
    struct FileState {
        bool exists = false;
        std::optional<std::string> hash;
    };
    FileState state(const files::Path& path) const;

    files::Path home_;
    PictureJournal* journal_ = nullptr;
    files::Path removedFolder_;
    int removed_ = 0;
    // A dry run's files as its changes would have left them.
    std::map<files::Path, FileState> simulated_;
};

} // namespace gamarium::history
