#include "core/history/restore.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/history/journal_undo.h"
#include "core/store/table_file.h"

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

struct TableStep {
    const char* key;
    files::Path live;
    const TableInPoint* inPoint;
    files::Path copy; // the point's copy
};

std::vector<TableStep> tableSteps(const PointStore& points, const Point& target) {
    return {{"games", points.liveGames(), &target.games, target.gamesFile()},
            {"patches", points.livePatches(), &target.patches, target.patchesFile()}};
}

std::string tableLine(const char* key, const TableInPoint& table) {
    const std::string which = std::string(key) == "games" ? "Таблица игр" : "Таблица патчей";
    switch (table.kind) {
    case TableInPoint::Kind::Copied: return which + " возвращена: записей " + std::to_string(table.records) + ".";
    case TableInPoint::Kind::None: return which + " убрана: в точке её не было.";
    case TableInPoint::Kind::LeftOut: return which + " оставлена как есть: её файл не читался, когда бралась точка.";
    }
    return {};
}

// The points whose commands a restore to `target` takes back, newest first:
// the target's own and every later one before `until`.
std::vector<Point> undonePoints(const PointStore& points, int target, int until) {
    std::vector<Point> undone;
    for (Point& point : points.points())
        if (point.id >= target && point.id < until) undone.insert(undone.begin(), std::move(point));
    return undone;
}

void undoJournals(const PointStore& points, const std::vector<Point>& undone, JournalUndo& undo, RestoreReport& report) {
    for (const Point& point : undone) {
        const std::vector<JournalEntry> entries = readJournal(points.home(), point.journalFile());
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            const JournalUndo::Outcome outcome = undo.undo(*entry);
            if (const std::string line = undo.line(*entry, outcome); !line.empty()) report.lines.push_back(line);
            if (JournalUndo::isProblem(outcome)) report.complete = false;
        }
    }
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

int noteNumber(const std::map<std::string, std::string>& note, const char* key) {
    const auto it = note.find(key);
    int value = 0;
    if (it == note.end() ||
        std::from_chars(it->second.data(), it->second.data() + it->second.size(), value).ec != std::errc())
        throw Error("Записка незаконченного восстановления повреждена; восстановление не закончено.");
    return value;
}

void removeTable(const files::Path& live) {
    for (const char* ending : {"", "-wal", "-shm", "-journal"}) files::removeFile(beside(live, ending));
}

} // namespace

RestoreReport planRestore(const PointStore& points, const Point& target) {
    RestoreReport report;
    for (const TableStep& step : tableSteps(points, target)) report.lines.push_back(tableLine(step.key, *step.inPoint));
    JournalUndo undo(points.home());
    undoJournals(points, undonePoints(points, target.id, std::numeric_limits<int>::max()), undo, report);
    return report;
}

void removeLeftoverCopies(const PointStore& points) {
    for (const files::Path& live : {points.liveGames(), points.livePatches()})
        for (const files::Path& copy : files::leftoverTemporaries(live.parent_path(), files::nameText(live).bytes()))
            files::removeFile(copy);
}

void prepareRestore(const PointStore& points, const Point& target, const Point& own) {
    removeLeftoverCopies(points);
    std::string note = "target=" + std::to_string(target.id) + "\nown=" + std::to_string(own.id) + "\n";
    std::vector<files::Path> prepared;
    try {
        for (const TableStep& step : tableSteps(points, target)) {
            std::string action = "keep";
            if (step.inPoint->kind == TableInPoint::Kind::Copied) {
                const files::Path copy = files::temporaryFor(step.live);
                prepared.push_back(copy);
                std::error_code ec;
                fs::copy_file(step.copy, copy, ec);
                if (ec || !files::syncToDisk(copy))
                    throw Error("Не удаётся подготовить таблицу к восстановлению (нет места на диске?): " +
                                store::shownFileName(step.live) + ".");
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
    for (const TableStep& step : tableSteps(points, target)) {
        const auto it = note.find(step.key);
        const std::string action = it == note.end() ? "" : it->second;
        if (action.starts_with("replace ")) {
            const files::Path copy = step.live.parent_path() / files::toPath(text::StoredText::fromCp1251(action.substr(8)));
            // Already in place when a killed run got that far.
            if (files::fileExists(copy)) {
                for (const char* ending : {"-wal", "-shm", "-journal"}) files::removeFile(beside(step.live, ending));
                std::error_code ec;
                fs::rename(copy, step.live, ec);
                if (ec) throw Error("Не удаётся поставить на место таблицу " + store::shownFileName(step.live) + ": " + ec.message());
                files::syncToDisk(step.live.parent_path());
            }
        } else if (action == "remove") {
            if (store::isProgramTableFile(step.live)) removeTable(step.live);
        }
        report.lines.push_back(tableLine(step.key, *step.inPoint));
    }
    JournalFile journal(points.home(), own.journalFile());
    JournalUndo undo(points.home(), journal, own.folder / kRemovedFolder);
    undoJournals(points, undonePoints(points, target.id, own.id), undo, report);
    files::removeFile(notePath(points));
    files::syncToDisk(points.folder());
    return report;
}

} // namespace gamarium::history
