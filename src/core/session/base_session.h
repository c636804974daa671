#pragma once

#include "core/files/files.h"
#include "core/history/restore.h"
#include "core/store/table.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::history {
class JournalFile;
class PictureJournal;
}

namespace gamarium::session {

enum class BaseTable { Games, Patches };

// The file name of a base's table: by the lower-cased base name.
std::string tableName(const std::string& base, BaseTable which);

// Finishes a restore of the base that a killed run left half done (the
// tables as at the point, the pictures' journals taken back). Every open of
// a base comes through here first.
void finishKilledRestore(const files::Path& home, const std::string& base);

// One base being worked on: the program folder, the base's name, its game
// and patch tables held open, and the root of its pictures. The windows
// and the command line open a base through here and nowhere else; the
// tables close when the session ends, dropping a change not yet posted.
//
// Nothing changes the base without a restore point: each command begins a
// change, whose point is taken when it first writes a table or tells its
// journal of a picture file (so that a command that changes nothing leaves
// none), and a write outside any command (the editor's typing) takes one
// point, the session's first.
class BaseSession {
public:
    // Opens both tables of `base` (Windows-1251) in `home`. The tables are
    // named by the lower-cased base name; the pictures keep the name as
    // given. A table that cannot be opened fails with its error, and then
    // neither is held. With `alone`, only that table must open: the other
    // is held when it can be, for what must work while it is missing or
    // damaged (exporting what is left of a base, importing into one table).
    BaseSession(files::Path home, std::string base, std::optional<BaseTable> alone = std::nullopt);
    // For a restore: each table is held when it can be. A table another copy
    // of the program holds is refused (Error); one that is missing, damaged
    // or not a table of the program is left to the restore, which sets it
    // aside rather than stop.
    struct ForRestore {};
    BaseSession(files::Path home, std::string base, ForRestore);
    ~BaseSession();
    BaseSession(const BaseSession&) = delete;
    BaseSession& operator=(const BaseSession&) = delete;

    const files::Path& home() const { return home_; }
    const std::string& baseName() const { return base_; }
    store::Table& games() { return games_; }
    store::Table& patches() { return patches_; }
    store::Table& table(BaseTable which) { return which == BaseTable::Games ? games_ : patches_; }

    // images/<base>/ of the program folder, found whatever the letter case.
    files::Path pictureRoot() const;
    // The picture folder of a game: the root and its Sid, found whatever
    // the letter case.
    files::Path pictureFolder(const text::StoredText& sid) const;

    // One command's change of the base, from beginChange until it ends.
    class Change {
    public:
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;
        // Where the command tells of the picture files it moves and copies.
        history::PictureJournal& journal() const;

    private:
        friend class BaseSession;
        explicit Change(BaseSession& session);
        BaseSession& session_;
    };
    // Begins the change `what`: the command's own words, or the window's
    // action (UTF-8). Its point is refused (Error) when it cannot be taken,
    // before anything changes.
    [[nodiscard]] Change beginChange(std::string what);

    // Puts the point `id` back (restore.h), having taken a point first so
    // that the restore itself can be undone; the tables are closed and
    // opened again meanwhile, and their listeners told. An unknown id, a
    // damaged point or one of another table layout is refused (Error) with
    // nothing changed, as is one whose picture journals, or a later point's,
    // cannot be read. With `dryRun` nothing changes and no point is taken.
    history::RestoreReport restore(int id, bool dryRun, const std::string& what);

    // What the keeping rules removed when this session took its points:
    // which points went and why (UTF-8 lines). A restore reports it itself.
    const std::vector<std::string>& droppedPoints() const { return droppedPoints_; }

private:
    class ChangeJournal;
    BaseSession(files::Path home, std::string base, std::optional<BaseTable> alone, bool forRestore);
    void beforeWrite();
    void takePoint(const std::string& what);
    history::PointSource sourceOf(store::Table& table) const;
    files::Path liveFile(const store::Table& table) const;

    files::Path home_;
    std::string base_;
    store::Table games_;
    store::Table patches_;
    // The change under way, waiting for its first write, and its journal
    // once the point is taken.
    std::optional<std::string> pending_;
    bool inChange_ = false;
    bool pointTaken_ = false;
    std::unique_ptr<history::JournalFile> journal_;
    std::unique_ptr<ChangeJournal> changeJournal_;
    // Why a restore left unfinished could not be finished at the open: the
    // base is read as it lies, and a write refused until a restore again.
    std::optional<std::string> unfinished_;
    std::vector<std::string> droppedPoints_;
};

} // namespace gamarium::session
