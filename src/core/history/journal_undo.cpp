#include "core/history/journal_undo.h"

#include "core/error.h"
#include "core/files/content_hash.h"
#include "core/files/system.h"

namespace gamarium::history {
namespace fs = std::filesystem;

JournalUndo::JournalUndo(files::Path home) : home_(std::move(home)) {}

JournalUndo::JournalUndo(files::Path home, PictureJournal& journal, files::Path removedFolder)
    : home_(std::move(home)), journal_(&journal), removedFolder_(std::move(removedFolder)) {}

JournalUndo::FileState JournalUndo::state(const files::Path& path) const {
    if (const auto it = simulated_.find(path); it != simulated_.end()) return it->second;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return {};
    if (!fs::is_regular_file(fs::symlink_status(path, ec))) return {true, std::nullopt};
    try {
        return {true, files::hashOfFile(path)};
    } catch (const Error&) {
        return {true, std::nullopt};
    }
}

bool JournalUndo::move(const files::Path& from, const files::Path& to, bool told) {
    if (!journal_) {
        simulated_[to] = state(from);
        simulated_[from] = {};
        return true;
    }
    if (told) journal_->moving(from, to);
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    return files::moveWithoutReplacing(from, to);
}

void JournalUndo::gone(const files::Path& path) {
    if (dryRun()) simulated_[path] = {};
}

void JournalUndo::replaced(const files::Path& path, const files::Path& like) {
    if (dryRun()) simulated_[path] = state(like);
}

JournalUndo::Outcome JournalUndo::undo(const JournalEntry& entry) {
    const FileState made = state(entry.to);
    if (entry.kind == JournalEntry::Kind::Move) {
        // Where it was, as it was: a move that failed, or one put back already.
        const FileState before = state(entry.from);
        if (before.exists && entry.hash && before.hash == entry.hash) return Outcome::AlreadyDone;
        if (!made.exists) return Outcome::Missing;
        if (!entry.hash || made.hash != entry.hash) return Outcome::Changed;
        if (before.exists) return Outcome::PlaceTaken;
        return move(entry.to, entry.from) ? Outcome::PutBack : Outcome::Failed;
    }
    if (!made.exists) return Outcome::AlreadyDone;
    if (!entry.hash || made.hash != entry.hash) return Outcome::Changed;
    files::Path kept;
    do {
        kept = removedFolder_ / (std::to_string(++removed_) + "_");
        kept += entry.to.filename();
    } while (state(kept).exists);
    return move(entry.to, kept) ? Outcome::Removed : Outcome::Failed;
}

bool JournalUndo::isProblem(Outcome outcome) {
    return outcome != Outcome::PutBack && outcome != Outcome::Removed && outcome != Outcome::AlreadyDone;
}

std::string JournalUndo::line(const JournalEntry& entry, Outcome outcome) const {
    const std::string made = shownPath(home_, entry.to), before = shownPath(home_, entry.from);
    switch (outcome) {
    case Outcome::PutBack: return "возвращён на место: " + made + " -> " + before;
    case Outcome::Removed: return "убран (его сделала команда): " + made;
    case Outcome::AlreadyDone: return {};
    case Outcome::Changed: return "оставлен: файл изменён после команды: " + made;
    case Outcome::Missing: return "не возвращён: файла уже нет: " + made + " (был " + before + ")";
    case Outcome::PlaceTaken: return "оставлен: на прежнем месте другой файл: " + made + " -> " + before;
    case Outcome::Failed: return "не удалось вернуть: " + made;
    }
    return {};
}

} // namespace gamarium::history
