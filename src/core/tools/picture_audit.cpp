#include "core/tools/picture_audit.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOrphanFolder = "_orphans";
// Bytes of a file's start that are hashed: pictures of one size but
// different content differ there almost always, so few files are read whole.
constexpr std::size_t kStartBytes = 4096;

std::string cp(const char* utf8) {
    return text::fromUtf8(utf8);
}

std::string nameKey(std::string_view sid, std::string_view name) {
    return text::upper(sid) + '/' + text::upper(name);
}

struct FileIdHash {
    std::size_t operator()(const files::FileId& id) const { return std::hash<std::uint64_t>{}(id.inode ^ (id.device << 32)); }
};
using FileIds = std::unordered_set<files::FileId, FileIdHash>;

// A hash of a file's first bytes; an unreadable file hashes as empty.
std::uint64_t startHash(const PictureFile& file) {
    const files::FileReader reader(file.path, file.size);
    std::array<char, kStartBytes> buffer;
    const std::size_t count = reader.open() ? reader.readAt(0, buffer.data(), buffer.size()) : 0;
    return std::hash<std::string_view>{}(std::string_view(buffer.data(), count));
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

// Splits files (indices) into groups of two or more whose `key` agrees.
template <typename Key>
std::vector<std::vector<std::size_t>> groupsBy(const std::vector<std::size_t>& files, Key key) {
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> groups;
    for (const std::size_t i : files) groups[key(i)].push_back(i);
    std::vector<std::vector<std::size_t>> result;
    for (auto& [value, group] : groups)
        if (group.size() > 1) result.push_back(std::move(group));
    return result;
}

std::vector<std::vector<PictureFile>> filesStoredTwice(const std::vector<PictureFile>& all) {
    std::unordered_map<std::uintmax_t, std::vector<std::size_t>> bySize;
    for (std::size_t i = 0; i < all.size(); ++i) bySize[all[i].size].push_back(i);
    std::vector<std::vector<PictureFile>> sets;
    for (const auto& entry : bySize) {
        const std::vector<std::size_t>& sameSize = entry.second;
        if (sameSize.size() < 2) continue;
        for (std::vector<std::size_t> group : groupsBy(sameSize, [&](std::size_t i) { return startHash(all[i]); })) {
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
                if (set.size() > 1) sets.push_back(std::move(set));
                group = std::move(rest);
            }
        }
    }
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

} // namespace

PictureAudit auditPictures(store::Table& games, const files::Path& pictureRoot, const Progress& progress) {
    std::unordered_set<std::string> usedSids, named;
    games.forEachRecord({"Sid", "Image1", "Image2", "Image3", "Image4", "Image5"}, [&](std::size_t) {
        const std::string sid = games.fieldByName("Sid").asString();
        usedSids.insert(text::upper(sid));
        for (const char* field : {"Image1", "Image2", "Image3", "Image4", "Image5"})
            if (const std::string image = games.fieldByName(field).asString(); !image.empty())
                named.insert(nameKey(sid, image));
    });

    // Native paths throughout: a folder or file name the code page cannot
    // hold is still reached (and shown with "?" for what it cannot show).
    std::vector<files::FolderEntry> folders, linked;
    for (files::FolderEntry& entry : files::folderEntries(pictureRoot)) {
        const std::string name = files::nameText(entry.name);
        if (entry.folder && !text::equalNoCase(name, "light") && !text::equalNoCase(name, kOrphanFolder))
            (entry.link ? linked : folders).push_back(std::move(entry));
    }
    const auto byName = [](const files::FolderEntry& a, const files::FolderEntry& b) { return a.name < b.name; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(linked.begin(), linked.end(), byName);

    PictureAudit audit;
    // A file is in use when a record names it by any name that reaches it,
    // through a linked folder too (one that stays in the picture folder);
    // a folder when a record's Sid leads to it.
    FileIds namedFiles, usedFolders;
    std::error_code ec;
    const files::Path root = fs::canonical(pictureRoot, ec);
    for (const files::FolderEntry& link : linked) {
        const files::Path path = pictureRoot / link.name;
        const std::string sid = files::nameText(link.name);
        std::error_code linkError;
        const bool inside = !ec && isBelow(fs::canonical(path, linkError), root) && !linkError;
        audit.linkedFolders.push_back({sid, files::pathText(fs::read_symlink(path, linkError)), !inside});
        if (!inside) continue;
        if (usedSids.count(text::upper(sid))) usedFolders.insert(link.id);
        for (const files::FolderEntry& entry : files::folderEntries(path))
            if (!entry.folder && named.count(nameKey(sid, files::nameText(entry.name)))) namedFiles.insert(entry.id);
    }

    std::vector<PictureFile> all;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        const std::string sid = files::nameText(folders[f].name);
        if (!usedSids.count(text::upper(sid)) && !usedFolders.count(folders[f].id)) audit.unusedFolders.push_back(sid);
        const files::Path folder = pictureRoot / folders[f].name;
        std::vector<PictureFile> files;
        for (files::FolderEntry& entry : files::folderEntries(folder)) {
            if (entry.folder) continue;
            std::string name = files::nameText(entry.name);
            if (named.count(nameKey(sid, name))) namedFiles.insert(entry.id);
            if (!entry.link) files.push_back({sid, std::move(name), entry.size, folder / entry.name, entry.id});
        }
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        all.insert(all.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
        if (progress) progress(static_cast<int>(f + 1), static_cast<int>(folders.size()));
    }
    // One file under several names counts once, under the first.
    FileIds counted;
    std::erase_if(all, [&](const PictureFile& file) { return !counted.insert(file.id).second; });
    for (const PictureFile& file : all)
        if (!namedFiles.count(file.id)) audit.orphans.push_back(file);
    audit.twice = filesStoredTwice(all);
    return audit;
}

void reportAudit(const PictureAudit& audit, const StatusSink& report) {
    for (const PictureFile& file : audit.orphans) report(cp("Файл без записи: ") + file.shown());
    for (const std::string& sid : audit.unusedFolders) report(cp("Папка без записей: ") + sid);
    for (const LinkedFolder& link : audit.linkedFolders)
        report(cp(link.outside ? "Папка-ссылка вне папки картинок, не проверяется: " : "Папка-ссылка: ") + link.name +
               " -> " + link.target);
    for (const auto& set : audit.twice) {
        std::string line = cp("Одинаковые: ");
        for (std::size_t i = 0; i < set.size(); ++i) line += (i ? " = " : "") + set[i].shown();
        report(line);
    }
    report(cp("Файлов без записи: ") + std::to_string(audit.orphans.size()) + cp(", папок без записей: ") +
           std::to_string(audit.unusedFolders.size()) + cp(", повторов: ") + std::to_string(audit.twice.size()));
}

namespace {

// Moves one orphan into its Sid folder under `orphans`; false when its
// place there is taken or it cannot be moved.
bool moveOrphan(const PictureFile& file, const files::Path& orphans) {
    const files::Path folder = orphans / file.path.parent_path().filename();
    files::makeFolder(folder);
    return files::moveWithoutReplacing(file.path, folder / file.path.filename());
}

// Orphans are moved only into real folders: through a link they would
// leave the picture folder (or land on pictures in use).
void refuseLink(const files::Path& folder, const std::string& shown) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(folder, ec)))
        throw Error("Папка «" + text::toUtf8(shown) + "» — ссылка на другую папку; лишние картинки не перенесены.");
}

} // namespace

int moveOrphans(const PictureAudit& audit, const files::Path& pictureRoot, const StatusSink& report) {
    const files::Path orphans = pictureRoot / files::toPath(kOrphanFolder);
    refuseLink(orphans, std::string(kOrphanFolder));
    for (const PictureFile& file : audit.orphans)
        refuseLink(orphans / file.path.parent_path().filename(), std::string(kOrphanFolder) + "/" + file.sid);
    files::makeFolder(orphans);
    int moved = 0;
    for (const PictureFile& file : audit.orphans) {
        if (moveOrphan(file, orphans))
            ++moved;
        else
            report(cp("Не перенесён (место в _orphans занято или нет доступа): ") + file.shown());
    }
    report(cp("Перенесено в _orphans: ") + std::to_string(moved));
    return moved;
}

} // namespace gamarium::tools
