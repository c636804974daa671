#include "core/history/restore.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/history/journal_undo.h"
#include "core/store/catalogue.h"
#include "core/store/paradox_files_aside.h"
#include "core/store/table_file.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>

namespace gamarium::history {
namespace fs = std::filesystem;
namespace {

constexpr const char* kNote = "restoring.txt";
constexpr const char* kRemovedFolder = "removed";

files::Path notePath(const PointStore& points) {
    return points.folder() / kNote;
}

files::Path beside(const files::Path& file, const char* ending) {
    files::Path side = file;
    side += ending;
    return side;
}

// Where a restore sets aside a file at a table's name that is not a table
// the session held: an old Paradox table with all its files, or a file
// that could not be read as the program's.
struct AsideFolders {
    files::Path paradox, damaged;
};

AsideFolders asideFolders(const PointStore& points) {
    const files::Path bases = store::basesFolder(points.home());
    return {store::datedFolder(bases, store::kParadoxFolder, points.base(), false),
            store::datedFolder(bases, store::kDamagedFolder, points.base(), false)};
}

struct TableStep {
    const char* key;
    files::Path live;
    const TableInPoint* inPoint; // as the point to restore has it
    const TableInPoint* now;     // as the restore's own point has it: copied when the session held it
    files::Path copy;            // the point's copy
    files::Path prepared;        // the copy beside the live table, of a real run
};

std::vector<TableStep> tableSteps(const PointStore& points, const Point& target, const Point& own) {
    return {{"games", points.liveGames(), &target.games, &own.games, target.gamesFile(), {}},
            {"patches", points.livePatches(), &target.patches, &own.patches, target.patchesFile(), {}}};
}

// "игр" or "патчей".
std::string tableOf(const char* key) {
    return std::string(key) == "games" ? "игр" : "патчей";
}

std::string tableLine(const char* key, const TableInPoint& table) {
    const std::string which = "Таблица " + tableOf(key);
    switch (table.kind) {
    case TableInPoint::Kind::Copied: return which + " возвращена: записей " + std::to_string(table.records) + ".";
    case TableInPoint::Kind::None: return which + " убрана: в точке её не было.";
    case TableInPoint::Kind::LeftOut: return which + " оставлена как есть: её файл не читался, когда бралась точка.";
    }
    return {};
}

bool isParadoxTable(const files::Path& live) {
    const std::vector<files::Path> files = store::paradoxTableFiles(live);
    return std::find(files.begin(), files.end(), live) != files.end();
}

// Sets aside the file at a table's name, the table file itself last, so
// that a run killed halfway still knows the rest for a Paradox table's. An
// old Paradox table goes with all its files into base/paradox/, its moves
// told to the journal, so that undoing the restore brings it back as the
// journals of a conversion do. Anything else goes into base/damaged/
// untold: a later restore never puts it back beside a table.
void setAside(const PointStore& points, const TableStep& step, const AsideFolders& folders, JournalUndo& undo,
              RestoreReport& report) {
    const bool paradox = isParadoxTable(step.live);
    std::vector<files::Path> files;
    if (paradox) {
        files = store::paradoxTableFiles(step.live);
        std::erase(files, step.live);
    } else {
        for (const char* ending : {"-wal", "-shm", "-journal"}) files.push_back(beside(step.live, ending));
    }
    files.push_back(step.live);
    std::erase_if(files, [&](const files::Path& file) { return !undo.exists(file); });
    if (files.empty()) return;
    const files::Path& folder = paradox ? folders.paradox : folders.damaged;
    for (const files::Path& file : files) {
        const files::Path to = folder / file.filename();
        // A kill between the two names of a move without one step left both.
        std::error_code ec;
        if (!undo.dryRun() && fs::equivalent(file, to, ec)) {
            files::removeFile(file);
            continue;
        }
        if (!undo.move(file, to, paradox))
            throw Error("Не удаётся отложить файл «" + shownPath(points.home(), file) + "» в «" +
                        shownPath(points.home(), folder) + "»; восстановление не закончено.");
    }
    const std::string where = shownPath(points.home(), folder) + "/.";
    report.lines.push_back(paradox ? "Старая таблица Paradox на месте таблицы " + tableOf(step.key) +
                                         " отложена со всеми её файлами в " + where
                                   : "Файл на месте таблицы " + tableOf(step.key) +
                                         " не читался как таблица программы и отложен в " + where);
}

// Whether the point's table is still to take its place: in a real run,
// until its prepared copy has.
bool toPlace(const TableStep& step, const JournalUndo& undo) {
    return step.inPoint->kind == TableInPoint::Kind::Copied && (undo.dryRun() || files::fileExists(step.prepared));
}

// Before the journals, the table's place is cleared, so that the old files
// a journal puts back find their places free: the table the session held
// goes (the restore's own point has it), anything else but an old Paradox
// table, which its journals move, is set aside. A table the point left out
// stays as it is.
void vacate(const PointStore& points, const TableStep& step, const AsideFolders& folders, JournalUndo& undo,
            RestoreReport& report) {
    const bool none = step.inPoint->kind == TableInPoint::Kind::None;
    if ((none || toPlace(step, undo)) && undo.exists(step.live) && !isParadoxTable(step.live)) {
        if (step.now->kind != TableInPoint::Kind::Copied || !store::isProgramTableFile(step.live)) {
            setAside(points, step, folders, undo, report);
        } else {
            // The journal beside a table held open goes with it once closed.
            for (const char* ending : {"", "-wal", "-shm", "-journal"})
                undo.dryRun() ? undo.gone(beside(step.live, ending)) : files::removeFile(beside(step.live, ending));
        }
    }
    if (none) report.lines.push_back(tableLine(step.key, *step.inPoint));
}

// A table put in place under a second name of the point's file is the
// point's no longer once it is written: the point gets a copy of its own
// before the table is opened.
void keepOwnCopy(const TableStep& step) {
    std::error_code ec;
    if (step.inPoint->kind != TableInPoint::Kind::Copied || !fs::equivalent(step.live, step.copy, ec)) return;
    const files::Path copy = files::temporaryFor(step.copy);
    fs::copy_file(step.live, copy, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(copy, step.copy, ec);
    if (ec) {
        files::removeFile(copy);
        throw Error("Не удаётся оставить копию таблицы " + store::shownFileName(step.live) +
                    " в точке восстановления (нет места на диске?); восстановление не закончено.");
    }
}

// After the journals: the point's copy takes the table's place, an old
// table the journals left there set aside first.
void place(const PointStore& points, const TableStep& step, const AsideFolders& folders, JournalUndo& undo,
           RestoreReport& report) {
    if (step.inPoint->kind == TableInPoint::Kind::None) return;
    if (toPlace(step, undo)) {
        setAside(points, step, folders, undo, report);
        if (undo.dryRun()) {
            undo.replaced(step.live, step.copy);
        } else {
            std::error_code ec;
            fs::rename(step.prepared, step.live, ec);
            if (ec) throw Error("Не удаётся поставить на место таблицу " + store::shownFileName(step.live) + ": " + ec.message());
            files::syncToDisk(step.live.parent_path());
        }
    }
    if (!undo.dryRun()) keepOwnCopy(step);
    report.lines.push_back(tableLine(step.key, *step.inPoint));
}

// The journals a restore to `target` takes back, newest first: the
// target's own and every later point's before `until`, a damaged point's too.
std::vector<files::Path> undoneJournals(const PointStore& points, int target, int until) {
    std::vector<int> ids = points.damagedPoints();
    for (const Point& point : points.points()) ids.push_back(point.id);
    std::sort(ids.rbegin(), ids.rend());
    std::vector<files::Path> journals;
    for (const int id : ids)
        if (id >= target && id < until) journals.push_back(points.journalOf(id));
    return journals;
}

void undoJournals(const PointStore& points, int target, int until, JournalUndo& undo, RestoreReport& report) {
    for (const files::Path& file : undoneJournals(points, target, until)) {
        std::vector<JournalEntry> entries;
        try {
            entries = readJournal(points.home(), file);
        } catch (const Error& e) {
            report.lines.push_back(std::string("не возвращены файлы: ") + e.what());
            report.complete = false;
            continue;
        }
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            const JournalUndo::Outcome outcome = undo.undo(*entry);
            if (const std::string line = undo.line(*entry, outcome); !line.empty()) report.lines.push_back(line);
            if (JournalUndo::isProblem(outcome)) report.complete = false;
        }
    }
}

// The whole restore, carried out or, run dry, followed.
void runRestore(const PointStore& points, const std::vector<TableStep>& steps, const AsideFolders& folders, int target,
                int until, JournalUndo& undo, RestoreReport& report) {
    for (const TableStep& step : steps) vacate(points, step, folders, undo, report);
    undoJournals(points, target, until, undo, report);
    for (const TableStep& step : steps) place(points, step, folders, undo, report);
}

std::map<std::string, std::string> readNote(const files::Path& file) {
    std::map<std::string, std::string> values;
    const std::string content = files::readFile(file, 1 << 16);
    for (std::size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = content.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

const std::string& noteValue(const std::map<std::string, std::string>& note, const char* key) {
    const auto it = note.find(key);
    if (it == note.end() || it->second.empty())
        throw Error("Записка незаконченного восстановления повреждена; восстановление не закончено.");
    return it->second;
}

int noteNumber(const std::map<std::string, std::string>& note, const char* key) {
    const std::string& text = noteValue(note, key);
    int value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
        throw Error("Записка незаконченного восстановления повреждена; восстановление не закончено.");
    return value;
}

} // namespace

void checkRestore(const PointStore& points, const Point& target) {
    points.verify(target);
    for (const files::Path& journal : undoneJournals(points, target.id, std::numeric_limits<int>::max()))
        readJournal(points.home(), journal);
}

RestoreReport planRestore(const PointStore& points, const Point& target, const Point& own) {
    RestoreReport report;
    JournalUndo undo(points.home());
    runRestore(points, tableSteps(points, target, own), asideFolders(points), target.id,
               std::numeric_limits<int>::max(), undo, report);
    return report;
}

void removeLeftoverCopies(const PointStore& points) {
    for (const files::Path& live : {points.liveGames(), points.livePatches()})
        for (const files::Path& copy : files::leftoverTemporaries(live.parent_path(), files::nameText(live).bytes()))
            files::removeFile(copy);
}

void prepareRestore(const PointStore& points, const Point& target, const Point& own) {
    removeLeftoverCopies(points);
    const AsideFolders folders = asideFolders(points);
    std::string note = "target=" + std::to_string(target.id) + "\nown=" + std::to_string(own.id) +
                       "\naside-paradox=" + files::nameText(folders.paradox.filename()).bytes() +
                       "\naside-damaged=" + files::nameText(folders.damaged.filename()).bytes() + "\n";
    std::vector<files::Path> prepared;
    try {
        for (const TableStep& step : tableSteps(points, target, own)) {
            std::string action = "keep";
            if (step.inPoint->kind == TableInPoint::Kind::Copied) {
                const files::Path copy = files::temporaryFor(step.live);
                prepared.push_back(copy);
                // The point's own file on the disk, under a second name:
                // once written it is not written again, where a copy would
                // be. Without second names, a copy on the disk.
                std::error_code ec;
                if (!files::syncToDisk(step.copy) || (fs::create_hard_link(step.copy, copy, ec), ec)) {
                    fs::copy_file(step.copy, copy, ec);
                    if (ec || !files::syncToDisk(copy))
                        throw Error("Не удаётся подготовить таблицу к восстановлению (нет места на диске?): " +
                                    store::shownFileName(step.live) + ".");
                }
                action = "replace " + files::nameText(copy).bytes();
            } else if (step.inPoint->kind == TableInPoint::Kind::None) {
                action = "remove";
            }
            note += std::string(step.key) + "=" + action + "\n";
        }
        files::syncToDisk(points.liveGames().parent_path());
        files::writeFileReplacing(notePath(points), note);
        files::syncToDisk(points.folder());
    } catch (...) {
        for (const files::Path& copy : prepared) files::removeFile(copy);
        throw;
    }
}

bool restorePending(const PointStore& points) {
    return files::fileExists(notePath(points));
}

RestoreReport finishRestore(const PointStore& points) {
    RestoreReport report;
    if (!restorePending(points)) return report;
    const auto note = readNote(notePath(points));
    const Point target = points.point(noteNumber(note, "target"));
    const Point own = points.point(noteNumber(note, "own"));
    const files::Path bases = store::basesFolder(points.home());
    // A note of an earlier version names no folders: fresh ones then.
    const auto asideFolder = [&](std::string_view parent, const char* key) {
        if (!note.count(key)) return store::datedFolder(bases, parent, points.base(), false);
        return files::findNoCase(bases, text::StoredText::fromCp1251(parent)) /
               files::toPath(text::StoredText::fromCp1251(noteValue(note, key)));
    };
    const AsideFolders folders{asideFolder(store::kParadoxFolder, "aside-paradox"),
                               asideFolder(store::kDamagedFolder, "aside-damaged")};
    std::vector<TableStep> steps = tableSteps(points, target, own);
    for (TableStep& step : steps) {
        const auto it = note.find(step.key);
        if (it != note.end() && it->second.starts_with("replace "))
            step.prepared = step.live.parent_path() / files::toPath(text::StoredText::fromCp1251(it->second.substr(8)));
    }
    JournalFile journal(points.home(), own.journalFile());
    JournalUndo undo(points.home(), journal, own.folder / kRemovedFolder);
    runRestore(points, steps, folders, target.id, own.id, undo, report);
    files::removeFile(notePath(points));
    files::syncToDisk(points.folder());
    return report;
}

} // namespace gamarium::history
