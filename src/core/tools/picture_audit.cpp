#include "core/tools/picture_audit.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/history/picture_journal.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <numeric>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;

text::StoredText orphanFolder() {
    return "_orphans"_stored;
}
// Bytes of a file's start that are hashed: pictures of one size but
// different content differ there almost always, so few files are read whole.
constexpr std::size_t kStartBytes = 4096;

text::StoredText cp(const char* utf8) {
    return text::fromUtf8(utf8);
}

text::StoredText count(std::size_t n) {
    return text::StoredText::fromCp1251(std::to_string(n));
}

struct FileIdHash {
    std::size_t operator()(const files::FileId& id) const { return std::hash<std::uint64_t>{}(id.inode ^ (id.device << 32)); }
};
using FileIds = std::unordered_set<files::FileId, FileIdHash>;

// A hash of a file's first bytes, in four lanes of eight bytes; an
// unreadable file hashes as empty. Files alike here are compared byte by byte.
std::uint64_t startHash(const PictureFile& file) {
    const files::FileReader reader(file.path, file.size);
    std::array<char, kStartBytes> buffer{};
    const std::size_t count = reader.open() ? reader.readAt(0, buffer.data(), buffer.size()) : 0;
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
    std::array<std::uint64_t, 4> lanes = {count, 1, 2, 3};
    for (std::size_t at = 0; at < count; at += sizeof lanes) { // past `count`: zeros
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            std::uint64_t word;
            std::memcpy(&word, buffer.data() + at + 8 * lane, 8);
            lanes[lane] = std::rotl((lanes[lane] ^ word) * kMix, 29);
        }
    }
    return ((lanes[0] * kMix ^ lanes[1]) * kMix ^ lanes[2]) * kMix ^ lanes[3];
}

bool sameBytes(const PictureFile& a, const PictureFile& b) {
    const files::FileReader first(a.path, a.size), second(b.path, b.size);
    if (!first.open() || !second.open() || first.size() != second.size()) return false;
    std::vector<char> x(1 << 16), y(1 << 16);
    for (std::uint64_t offset = 0; offset < first.size();) {
        const std::size_t count = first.readAt(offset, x.data(), x.size());
        if (count == 0 || second.readAt(offset, y.data(), count) != count || !std::equal(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count), y.begin()))
            return false;
        offset += count;
    }
    return true;
}

// Calls `alike` with each run of two or more of `files` (indices) whose
// `key` agrees, each run in the order of the indices.
template <typename Key, typename Alike>
void forEachAlike(const std::vector<std::size_t>& files, Key key, Alike alike) {
    std::vector<std::pair<std::uint64_t, std::size_t>> keyed;
    keyed.reserve(files.size());
    for (const std::size_t i : files) keyed.emplace_back(key(i), i);
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t from = 0, to = 0; from < keyed.size(); from = to) {
        for (to = from + 1; to < keyed.size() && keyed[to].first == keyed[from].first; ++to) {
        }
        if (to - from < 2) continue;
        std::vector<std::size_t> run;
        for (std::size_t k = from; k < to; ++k) run.push_back(keyed[k].second);
        alike(std::move(run));
    }
}

// Runs `work(i)` for every i below `count` on a few threads: most of the
// audit's time is the system's, listing folders and opening files. The
// calling thread takes its share and, after each, tells `done` how many
// are done.
template <typename Work>
void onThreads(std::size_t count, const Work& work, const std::function<void(std::size_t)>& done = {}) {
    const std::size_t threads = std::min(count, std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4));
    std::atomic<std::size_t> next = 0, finished = 0;
    // The first failure on any thread ends the work and is thrown here.
    std::mutex failing;
    std::exception_ptr failure;
    const auto run = [&](bool caller) {
        try {
            for (std::size_t i = next++; i < count; i = next++) {
                work(i);
                ++finished;
                if (caller && done) done(finished);
            }
        } catch (...) {
            const std::lock_guard lock(failing);
            if (!failure) failure = std::current_exception();
            next = count;
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(run, false);
        run(true);
    }
    if (failure) std::rethrow_exception(failure);
    if (done && count > 0) done(count);
}

// The start hash of each file of `runs`, into `starts` (by index).
void hashStarts(const std::vector<PictureFile>& all, const std::vector<std::vector<std::size_t>>& runs,
                std::vector<std::uint64_t>& starts) {
    std::vector<std::size_t> files;
    for (const auto& run : runs) files.insert(files.end(), run.begin(), run.end());
    onThreads(files.size(), [&](std::size_t k) { starts[files[k]] = startHash(all[files[k]]); });
}

std::vector<std::vector<PictureFile>> filesStoredTwice(const std::vector<PictureFile>& all) {
    std::vector<std::size_t> everyFile(all.size());
    std::iota(everyFile.begin(), everyFile.end(), 0);
    std::vector<std::vector<std::size_t>> sameSize;
    forEachAlike(everyFile, [&](std::size_t i) { return all[i].size; },
                 [&](std::vector<std::size_t> run) { sameSize.push_back(std::move(run)); });
    std::vector<std::uint64_t> starts(all.size());
    hashStarts(all, sameSize, starts);
    std::vector<std::vector<std::vector<PictureFile>>> setsOfRun(sameSize.size());
    onThreads(sameSize.size(), [&](std::size_t r) {
        forEachAlike(sameSize[r], [&](std::size_t i) { return starts[i]; }, [&](std::vector<std::size_t> group) {
            // Files equal to the group's first form a set; the rest try again.
            while (group.size() > 1) {
                std::vector<PictureFile> set{all[group.front()]};
                std::vector<std::size_t> rest;
                for (std::size_t k = 1; k < group.size(); ++k) {
                    if (sameBytes(all[group.front()], all[group[k]]))
                        set.push_back(all[group[k]]);
                    else
                        rest.push_back(group[k]);
                }
                if (set.size() > 1) setsOfRun[r].push_back(std::move(set));
                group = std::move(rest);
            }
        });
    });
    std::vector<std::vector<PictureFile>> sets;
    for (auto& runSets : setsOfRun)
        sets.insert(sets.end(), std::make_move_iterator(runSets.begin()), std::make_move_iterator(runSets.end()));
    for (auto& set : sets)
        std::sort(set.begin(), set.end(), [](const auto& a, const auto& b) { return a.shown() < b.shown(); });
    std::sort(sets.begin(), sets.end(), [](const auto& a, const auto& b) { return a.front().shown() < b.front().shown(); });
    return sets;
}

// Whether `path` lies below `folder`, both with every link resolved.
bool isBelow(const files::Path& path, const files::Path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p)
        if (p == path.end() || *p != *f) return false;
    return p != path.end();
}

// A Sid folder, or a link among them, with its entries.
struct ListedFolder {
    files::FolderEntry folder;
    std::vector<files::FolderEntry> entries; // of a link only when it stays in the picture folder
    LinkedFolder link;
};

// The picture folder's Sid folders and linked folders, each in name order;
// the light/ set and the _orphans/ folder are left out.
struct PictureFolders {
    std::vector<ListedFolder> folders, linked;
};

PictureFolders listPictureFolders(const files::Path& pictureRoot) {
    PictureFolders listed;
    std::error_code ec;
    const files::Path root = fs::canonical(pictureRoot, ec);
    for (files::FolderEntry& entry : files::folderEntries(pictureRoot)) {
        const text::StoredText name = files::nameText(entry.name);
        if (!entry.folder || text::equalNoCase(name, "light"_stored) ||
            text::equalNoCase(name, orphanFolder()))
            continue;
        ListedFolder folder{std::move(entry), {}, {}};
        if (folder.folder.link) {
            const files::Path path = pictureRoot / folder.folder.name;
            std::error_code linkError;
            const bool inside = !ec && isBelow(fs::canonical(path, linkError), root) && !linkError;
            folder.link = {name, text::fromUtf8(files::shownPath(fs::read_symlink(path, linkError))), !inside};
        }
        (folder.folder.link ? listed.linked : listed.folders).push_back(std::move(folder));
    }
    const auto byName = [](const ListedFolder& a, const ListedFolder& b) { return a.folder.name < b.folder.name; };
    std::sort(listed.folders.begin(), listed.folders.end(), byName);
    std::sort(listed.linked.begin(), listed.linked.end(), byName);
    const std::size_t count = listed.folders.size();
    onThreads(count + listed.linked.size(), [&](std::size_t i) {
        ListedFolder& folder = i < count ? listed.folders[i] : listed.linked[i - count];
        if (!folder.link.outside) folder.entries = files::folderEntries(pictureRoot / folder.folder.name);
    });
    return listed;
}

} // namespace

PictureAudit auditPictures(store::Table& games, const files::Path& pictureRoot, const Progress& progress) {
    // The folders are listed while the records are read.
    auto listing = std::async(std::launch::async, listPictureFolders, pictureRoot);

    // The picture names of each Sid that records use, both in upper case.
    std::unordered_map<text::StoredText, std::unordered_set<text::StoredText>> namedBySid;
    const store::Field& sidField = games.field(store::games::Sid);
    std::vector<const store::Field*> imageFields;
    for (const store::FieldKey field : store::games::kPictureFields) imageFields.push_back(&games.field(field));
    games.forEachRecord(store::games::withPictureFields({store::games::Sid}), [&](std::size_t) {
        std::unordered_set<text::StoredText>& named = namedBySid[text::upper(sidField.asString())];
        for (const store::Field* field : imageFields)
            if (const text::StoredText image = field->asString(); !image.empty()) named.insert(text::upper(image));
    });
    const auto namesOf = [&](const text::StoredText& sid) -> const std::unordered_set<text::StoredText>* {
        const auto found = namedBySid.find(text::upper(sid));
        return found == namedBySid.end() ? nullptr : &found->second;
    };
    // Native paths throughout: a folder or file name the code page cannot
    // hold is still reached (and shown with "?" for what it cannot show).
    PictureFolders listed = listing.get();

    PictureAudit audit;
    // A file is in use when a record names it by any name that reaches it:
    // through a linked folder (one that stays in the picture folder), a
    // linked file or another name of it. A folder is in use when a record's
    // Sid leads to it.
    FileIds namedElsewhere, usedFolders;
    for (const ListedFolder& linked : listed.linked) {
        audit.linkedFolders.push_back(linked.link);
        const auto* names = namesOf(linked.link.name);
        if (linked.link.outside || !names) continue;
        usedFolders.insert(linked.folder.id);
        for (const files::FolderEntry& entry : linked.entries)
            if (!entry.folder && names->count(text::upper(files::nameText(entry.name)))) namedElsewhere.insert(entry.id);
    }

    // Each folder's files in name order, with whether a record names each
    // by its own name.
    struct FolderFiles {
        std::vector<PictureFile> files;
        std::vector<bool> named;
        std::vector<files::FileId> namedByLink; // files that a linked file of the folder reaches
    };
    std::vector<FolderFiles> byFolder(listed.folders.size());
    const auto total = static_cast<int>(listed.folders.size());
    onThreads(
        byFolder.size(),
        [&](std::size_t f) {
            const text::StoredText sid = files::nameText(listed.folders[f].folder.name);
            const auto* names = namesOf(sid);
            const files::Path folder = pictureRoot / listed.folders[f].folder.name;
            std::vector<PictureFile> files;
            FolderFiles& out = byFolder[f];
            for (files::FolderEntry& entry : listed.folders[f].entries) {
                if (entry.folder) continue;
                text::StoredText name = files::nameText(entry.name);
                if (!entry.link)
                    files.push_back(PictureFile{sid, std::move(name), entry.size, folder / entry.name, entry.id});
                else if (names && names->count(text::upper(name)))
                    out.namedByLink.push_back(entry.id);
            }
            std::vector<std::size_t> byName(files.size());
            std::iota(byName.begin(), byName.end(), 0);
            std::sort(byName.begin(), byName.end(), [&](std::size_t a, std::size_t b) { return files[a].name < files[b].name; });
            for (const std::size_t i : byName) {
                out.named.push_back(names && names->count(text::upper(files[i].name)));
                out.files.push_back(std::move(files[i]));
            }
        },
        [&](std::size_t done) { if (progress) progress(static_cast<int>(done), total); });

    std::vector<PictureFile> all;
    std::vector<bool> named; // of each of `all`, by its own name
    for (std::size_t f = 0; f < byFolder.size(); ++f) {
        const text::StoredText sid = files::nameText(listed.folders[f].folder.name);
        if (!namesOf(sid) && !usedFolders.count(listed.folders[f].folder.id)) audit.unusedFolders.push_back(sid);
        all.insert(all.end(), std::make_move_iterator(byFolder[f].files.begin()),
                   std::make_move_iterator(byFolder[f].files.end()));
        named.insert(named.end(), byFolder[f].named.begin(), byFolder[f].named.end());
        namedElsewhere.insert(byFolder[f].namedByLink.begin(), byFolder[f].namedByLink.end());
    }
    // One file under several names counts once, under the first, and is
    // named when any of them is.
    std::unordered_map<files::FileId, std::size_t, FileIdHash> firstName;
    firstName.reserve(all.size());
    std::vector<bool> counted(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto [first, isFirst] = firstName.emplace(all[i].id, i);
        counted[i] = isFirst;
        if (named[i] || namedElsewhere.count(all[i].id)) named[first->second] = true;
    }
    std::vector<PictureFile> once;
    once.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!counted[i]) continue;
        if (!named[i]) audit.orphans.push_back(all[i]);
        once.push_back(std::move(all[i]));
    }
    audit.twice = filesStoredTwice(once);
    return audit;
}

void reportAudit(const PictureAudit& audit, const StatusSink& report) {
    for (const PictureFile& file : audit.orphans) report(cp("Файл без записи: ") + file.shown());
    for (const text::StoredText& sid : audit.unusedFolders) report(cp("Папка без записей: ") + sid);
    for (const LinkedFolder& link : audit.linkedFolders)
        report(cp(link.outside ? "Папка-ссылка вне папки картинок, не проверяется: " : "Папка-ссылка: ") + link.name +
               " -> "_stored + link.target);
    for (const auto& set : audit.twice) {
        text::StoredText line = cp("Одинаковые: ");
        for (std::size_t i = 0; i < set.size(); ++i) line += (i ? " = "_stored : text::StoredText()) + set[i].shown();
        report(line);
    }
    report(cp("Файлов без записи: ") + count(audit.orphans.size()) + cp(", папок без записей: ") +
           count(audit.unusedFolders.size()) + cp(", повторов: ") + count(audit.twice.size()));
}

namespace {

// Moves one orphan into its Sid folder under `orphans`; false when its
// place there is taken or it cannot be moved.
bool moveOrphan(const PictureFile& file, const files::Path& orphans, history::PictureJournal& journal) {
    const files::Path folder = orphans / file.path.parent_path().filename();
    files::makeFolder(folder);
    // A place taken is told before the journal hears of a move, so that a
    // run that moves nothing takes no restore point.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder / file.path.filename(), ec))) return false;
    journal.moving(file.path, folder / file.path.filename());
    return files::moveWithoutReplacing(file.path, folder / file.path.filename());
}

// Orphans are moved only into real folders: through a link they would
// leave the picture folder (or land on pictures in use).
void refuseLink(const files::Path& folder, const text::StoredText& shown) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(folder, ec)))
        throw Error("Папка «" + text::toUtf8(shown) + "» — ссылка на другую папку; лишние картинки не перенесены.");
}

} // namespace

int moveOrphans(const PictureAudit& audit, const files::Path& pictureRoot, history::PictureJournal& journal,
                const StatusSink& report) {
    const files::Path orphans = pictureRoot / files::toPath(orphanFolder());
    refuseLink(orphans, orphanFolder());
    for (const PictureFile& file : audit.orphans)
        refuseLink(orphans / file.path.parent_path().filename(), orphanFolder() + "/"_stored + file.sid);
    files::makeFolder(orphans);
    int moved = 0;
    for (const PictureFile& file : audit.orphans) {
        if (moveOrphan(file, orphans, journal))
            ++moved;
        else
            report(cp("Не перенесён (место в _orphans занято или нет доступа): ") + file.shown());
    }
    report(cp("Перенесено в _orphans: ") + count(static_cast<std::size_t>(moved)));
    return moved;
}

} // namespace gamarium::tools
