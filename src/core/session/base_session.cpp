#include "core/session/base_session.h"

#include "core/error.h"
#include "core/history/picture_journal.h"
#include "core/history/point_store.h"
#include "core/paradox/paradox_table.h"
#include "core/pictures/picture_folder.h"
#include "core/store/base_folder_lock.h"
#include "core/store/catalogue.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <stdexcept>

namespace gamarium::session {

namespace {

// The name of the point taken before the first write that no command began.
constexpr const char* kEditing = "Правка в редакторе";

} // namespace

std::string tableName(const std::string& base, BaseTable which) {
    return which == BaseTable::Games ? store::gameTableName(text::lower(base))
                                     : store::patchTableName(text::lower(base));
}

void finishKilledRestore(const files::Path& home, const std::string& base) {
    const history::PointStore points(home, base);
    if (!history::restorePending(points)) return;
    store::BaseFolderLock lock(points.folder());
    history::finishRestore(points);
    points.keepWithinRules();
}

// The journal a command is handed: its first entry takes the change's
// point, as a first write would.
class BaseSession::ChangeJournal : public history::PictureJournal {
public:
    explicit ChangeJournal(BaseSession& session) : session_(session) {}
    void moving(const files::Path& from, const files::Path& to) override { journal().moving(from, to); }
    void copying(const files::Path& from, const files::Path& to) override { journal().copying(from, to); }

private:
    history::PictureJournal& journal() {
        session_.beforeWrite();
        if (!session_.journal_) throw std::logic_error("a picture changed outside a change of the base");
        return *session_.journal_;
    }
    BaseSession& session_;
};

BaseSession::BaseSession(files::Path home, std::string base, std::optional<BaseTable> alone)
    : BaseSession(std::move(home), std::move(base), alone, false) {}

BaseSession::BaseSession(files::Path home, std::string base, ForRestore)
    : BaseSession(std::move(home), std::move(base), std::nullopt, true) {}

BaseSession::BaseSession(files::Path home, std::string base, std::optional<BaseTable> alone, bool forRestore)
    : home_(std::move(home)), base_(std::move(base)),
      games_(store::basesFolder(home_), tableName(base_, BaseTable::Games)),
      patches_(store::basesFolder(home_), tableName(base_, BaseTable::Patches)) {
    try {
        finishKilledRestore(home_, base_);
    } catch (const Error& e) {
        unfinished_ = e.what();
    }
    for (const BaseTable which : {BaseTable::Games, BaseTable::Patches}) {
        store::Table& held = table(which);
        if ((!alone && !forRestore) || alone == which) {
            held.open();
            continue;
        }
        try {
            held.open();
        } catch (const Error&) {
            // Missing or damaged: the point says so, and the command goes on.
            if (forRestore && store::isHeldElsewhere(liveFile(held))) throw;
        }
    }
    // Held now, so no restore of the base is preparing copies beside them.
    if (games_.isOpen() && patches_.isOpen()) history::removeLeftoverCopies(history::PointStore(home_, base_));
    // A table that may not be written refuses the write with its own message.
    games_.setBeforeWrite([this] {
        if (!games_.readOnly()) beforeWrite();
    });
    patches_.setBeforeWrite([this] {
        if (!patches_.readOnly()) beforeWrite();
    });
    changeJournal_ = std::make_unique<ChangeJournal>(*this);
}

BaseSession::~BaseSession() = default;

files::Path BaseSession::pictureRoot() const {
    return pictures::basePictureFolder(home_, base_);
}

files::Path BaseSession::pictureFolder(const text::StoredText& sid) const {
    return pictures::gamePictureFolder(home_, base_, sid);
}

files::Path BaseSession::liveFile(const store::Table& table) const {
    return files::findNoCase(store::basesFolder(home_), text::StoredText::fromCp1251(table.name()));
}

history::PointSource BaseSession::sourceOf(store::Table& table) const {
    if (table.isOpen()) return {&table.database(), false};
    // An old Paradox table is none of the program's: restoring the point
    // leaves its files to the journals that moved them.
    const files::Path file = liveFile(table);
    return {nullptr, files::fileExists(file) && !paradox::isParadoxTable(file)};
}

void BaseSession::takePoint(const std::string& what) {
    history::PointStore points(home_, base_);
    const history::Point point = points.take(what, sourceOf(games_), sourceOf(patches_));
    pending_.reset();
    pointTaken_ = true;
    journal_ = std::make_unique<history::JournalFile>(home_, point.journalFile());
    for (std::string& line : points.keepWithinRules()) droppedPoints_.push_back(std::move(line));
}

void BaseSession::beforeWrite() {
    if (unfinished_) throw Error(*unfinished_ + " Базу можно читать; менять её можно после нового восстановления.");
    if (pending_)
        takePoint(*pending_);
    else if (!inChange_ && !pointTaken_)
        takePoint(kEditing);
}

BaseSession::Change::Change(BaseSession& session) : session_(session) {}

BaseSession::Change::~Change() {
    session_.inChange_ = false;
    session_.pending_.reset();
    session_.journal_.reset();
}

history::PictureJournal& BaseSession::Change::journal() const {
    return *session_.changeJournal_;
}

BaseSession::Change BaseSession::beginChange(std::string what) {
    if (inChange_) throw std::logic_error("a change of the base began inside another");
    inChange_ = true;
    pending_ = std::move(what);
    journal_.reset();
    return Change(*this);
}

history::RestoreReport BaseSession::restore(int id, bool dryRun, const std::string& what) {
    history::PointStore points(home_, base_);
    const history::Point target = points.point(id);
    history::checkRestore(points, target);
    if (dryRun) {
        // The point the restore would take: which tables it holds.
        history::Point own;
        own.games.kind = history::kindOf(sourceOf(games_));
        own.patches.kind = history::kindOf(sourceOf(patches_));
        return history::planRestore(points, target, own);
    }
    history::RestoreReport report;
    {
        store::BaseFolderLock lock(points.folder());
        const history::Point own = points.take(what, sourceOf(games_), sourceOf(patches_));
        pointTaken_ = true;
        history::prepareRestore(points, target, own);
        games_.close();
        patches_.close();
        report = history::finishRestore(points);
        unfinished_.reset();
    }
    // A table the point did not have stays closed.
    for (store::Table* table : {&games_, &patches_}) {
        try {
            table->open();
        } catch (const Error&) {
        }
    }
    for (std::string& line : points.keepWithinRules()) report.lines.push_back(std::move(line));
    return report;
}

} // namespace gamarium::session
