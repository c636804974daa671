#include "core/tools/picture_audit.h"

#include "core/files/system.h"
#include "core/history/picture_journal.h"
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

// A hash of a file's first bytes; an unreadable file hashes as empty.
std::uint64_t startHash(const files::Path& file) {
    const files::FileReader reader(file);
    std::array<char, kStartBytes> buffer;
    const std::size_t count = reader.open() ? reader.readAt(0, buffer.data(), buffer.size()) : 0;
    return std::hash<std::string_view>{}(std::string_view(buffer.data(), count));
}

bool sameBytes(const files::Path& a, const files::Path& b) {
    const files::FileReader first(a), second(b);
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
        for (std::vector<std::size_t> group : groupsBy(sameSize, [&](std::size_t i) { return startHash(all[i].path); })) {
            // Files equal to the group's first form a set; the rest try again.
            while (group.size() > 1) {
                std::vector<PictureFile> set{all[group.front()]};
                std::vector<std::size_t> rest;
                for (std::size_t k = 1; k < group.size(); ++k) {
                    if (sameBytes(all[group.front()].path, all[group[k]].path))
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
    std::vector<files::Path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(pictureRoot, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = files::nameText(it->path());
        if (it->is_directory(typeError) && !text::equalNoCase(name, "light") && !text::equalNoCase(name, kOrphanFolder))
            folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    PictureAudit audit;
    std::vector<PictureFile> all;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        const std::string sid = files::nameText(folders[f]);
        if (!usedSids.count(text::upper(sid))) audit.unusedFolders.push_back(sid);
        std::vector<PictureFile> files;
        for (files::SizedFile& file : files::filesWithSizes(folders[f]))
            files.push_back({sid, files::nameText(file.path), file.size, std::move(file.path)});
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        for (const PictureFile& file : files)
            if (!named.count(nameKey(file.sid, file.name))) audit.orphans.push_back(file);
        all.insert(all.end(), files.begin(), files.end());
        if (progress) progress(static_cast<int>(f + 1), static_cast<int>(folders.size()));
    }
    audit.twice = filesStoredTwice(all);
    return audit;
}

void reportAudit(const PictureAudit& audit, const StatusSink& report) {
    for (const PictureFile& file : audit.orphans) report(cp("Файл без записи: ") + file.shown());
    for (const std::string& sid : audit.unusedFolders) report(cp("Папка без записей: ") + sid);
    for (const auto& set : audit.twice) {
        std::string line = cp("Одинаковые: ");
        for (std::size_t i = 0; i < set.size(); ++i) line += (i ? " = " : "") + set[i].shown();
        report(line);
    }
    report(cp("Файлов без записи: ") + std::to_string(audit.orphans.size()) + cp(", папок без записей: ") +
           std::to_string(audit.unusedFolders.size()) + cp(", повторов: ") + std::to_string(audit.twice.size()));
}

int moveOrphans(const PictureAudit& audit, const files::Path& pictureRoot, history::PictureJournal& journal,
                const StatusSink& report) {
    const files::Path orphans = pictureRoot / files::toPath(kOrphanFolder);
    files::makeFolder(orphans);
    int moved = 0;
    for (const PictureFile& file : audit.orphans) {
        const files::Path folder = orphans / file.path.parent_path().filename();
        files::makeFolder(folder);
        journal.moving(file.path, folder / file.path.filename());
        if (files::moveWithoutReplacing(file.path, folder / file.path.filename()))
            ++moved;
        else
            report(cp("Не перенесён (место в _orphans занято или нет доступа): ") + file.shown());
    }
    report(cp("Перенесено в _orphans: ") + std::to_string(moved));
    return moved;
}

} // namespace gamarium::tools
