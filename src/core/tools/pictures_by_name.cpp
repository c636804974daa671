#include "core/tools/pictures_by_name.h"

#include "core/editor/picture_slots.h"
#include "core/error.h"
#include "core/files/no_case_lookup.h"
#include "core/files/plain_name.h"
#include "core/files/system.h"
#include "core/history/picture_journal.h"
#include "core/pictures/decoder.h"
#include "core/pictures/probe.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/tools/region_words.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;

constexpr int kSlots = static_cast<int>(store::games::kPictureFields.size());
constexpr std::size_t kPictureFieldSize = 70;
constexpr std::string_view kSubfolders[] = {"", "Named_Boxarts", "Named_Snaps", "Named_Titles"};

text::StoredText cp(const char* utf8) {
    return text::fromUtf8(utf8);
}

text::StoredText number(std::size_t n) {
    return text::StoredText::fromCp1251(std::to_string(n));
}

std::string_view withoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string_view extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// How a collection's name and a game's are compared.
std::string matchKey(std::string_view name) {
    return text::upper(collectionName(name));
}

// A file of the collection.
struct Candidate {
    files::Path path;
    text::StoredText shown; // "Named_Snaps/Name (USA).png"
    std::string extension; // as written
    bool matched = false;
    std::optional<bool> readable;
};

std::vector<Candidate> collectCandidates(const files::Path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw Error("Нет папки «" + files::shownPath(folder) + "» с картинками.");
    std::vector<Candidate> candidates;
    for (const std::string_view sub : kSubfolders) {
        const files::Path dir = sub.empty() ? folder : files::findNoCase(folder, text::StoredText::fromCp1251(sub));
        if (!sub.empty() && !fs::is_directory(dir, ec)) continue;
        std::vector<files::Entry> entries = files::listFolder(dir, "*");
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        for (const files::Entry& entry : entries) {
            if (entry.isFolder) continue;
            const text::StoredText shown = sub.empty() ? entry.name : files::nameText(dir) + "/"_stored + entry.name;
            candidates.push_back({dir / files::toPath(entry.name), shown, std::string(extensionOf(entry.name.bytes())), false, {}});
        }
    }
    return candidates;
}

struct GameRow {
    text::StoredText sid, name, region, file;
    std::array<text::StoredText, kSlots> images;
};

std::vector<GameRow> readGames(store::Table& games) {
    std::vector<GameRow> rows;
    namespace g = store::games;
    games.forEachRecord(g::withPictureFields({g::Sid, g::Name, g::Region, g::File}), [&](std::size_t) {
        GameRow row{games.field(g::Sid).asString(), games.field(g::Name).asString(), games.field(g::Region).asString(),
                    games.field(g::File).asString(), {}};
        for (std::size_t s = 0; s < row.images.size(); ++s)
            row.images[s] = games.field(g::kPictureFields[s]).asString();
        rows.push_back(std::move(row));
    });
    return rows;
}

// The names a game is looked for under, as match keys.
std::vector<std::string> keysOf(const GameRow& game) {
    std::vector<std::string> keys;
    const std::string& path = game.file.bytes();
    const std::string_view file = std::string_view(path).substr(path.find_last_of("/\\") + 1);
    if (!file.empty()) keys.push_back(matchKey(withoutExtension(file)));
    if (!game.name.empty()) {
        if (game.region.empty())
            keys.push_back(matchKey(game.name.bytes()));
        else if (const auto words = regionWords(game.region.bytes()))
            keys.push_back(matchKey(game.name.bytes() + " (" + *words + ")"));
    }
    return keys;
}

bool sameContent(const files::Path& a, const files::Path& b) {
    std::error_code ec;
    const auto size = fs::file_size(a, ec);
    if (ec || fs::file_size(b, ec) != size || ec) return false;
    return files::readFile(a) == files::readFile(b);
}

bool readablePicture(Candidate& candidate) {
    if (!candidate.readable)
        candidate.readable = pictures::formatOfExtension(candidate.extension).has_value() &&
                             pictures::probePictureSize(candidate.path).has_value();
    return *candidate.readable;
}

struct Addition {
    std::size_t position; // 1-based
    int slot;
    text::StoredText name;
    files::Path source, folder;
    bool copy = true; // false: the picture is in the folder already and is only named
};

// The pictures already in a game's folder, or copied there by this run,
// that a match may be found among: a copy a killed run left unnamed, or the
// one file that several games of the folder share. A file of the folder is
// read (and its content hashed) only when a picture of its size is looked
// for, and once; the bytes are compared only when the hashes agree.
class FolderPictures {
public:
    // The name of a picture in `folder` with the content of `source`, if any.
    std::optional<text::StoredText> find(const files::Path& folder, const files::Path& source) {
        const std::optional<Content> content = contentOf(source);
        if (!content) return std::nullopt;
        Folder& known = listed(folder);
        // The folder's files of this size are hashed now, once.
        const auto [from, to] = known.unread.equal_range(content->size);
        for (auto it = from; it != to; ++it)
            if (const std::optional<Content> other = contentOf(it->second.file))
                known.read.emplace(*other, std::move(it->second));
        known.unread.erase(content->size);
        const auto [same, end] = known.read.equal_range(*content);
        for (auto it = same; it != end; ++it)
            if (it->second.file == source || sameContent(source, it->second.file)) return it->second.name;
        return std::nullopt;
    }
    void copied(const files::Path& folder, const files::Path& source, const text::StoredText& name) {
        if (const std::optional<Content> content = contentOf(source)) listed(folder).read.emplace(*content, Known{source, name});
    }

private:
    struct Known {
        files::Path file; // the picture in the folder, or the source of a copy made by this run
        text::StoredText name; // its name in the folder
    };
    struct Content {
        std::uintmax_t size = 0;
        std::size_t hash = 0;
        bool operator==(const Content&) const = default;
    };
    struct ContentHash {
        std::size_t operator()(const Content& content) const { return content.hash ^ content.size; }
    };
    struct Folder {
        std::unordered_multimap<std::uintmax_t, Known> unread;   // by size
        std::unordered_multimap<Content, Known, ContentHash> read;
    };

    Folder& listed(const files::Path& folder) {
        auto [it, added] = folders_.try_emplace(folder);
        if (!added) return it->second;
        std::error_code ec;
        for (files::SizedFile& file : files::filesWithSizes(folder)) {
            text::StoredText name = files::nameText(file.path);
            if (!files::isTemporaryName(name.bytes()) && !fs::is_symlink(file.path, ec) && usable(name, file.path))
                it->second.unread.emplace(file.size, Known{std::move(file.path), std::move(name)});
        }
        return it->second;
    }
    // Each file is read once however often it is looked for.
    std::optional<Content> contentOf(const files::Path& file) {
        const auto [it, added] = contents_.try_emplace(file);
        if (added) {
            try {
                const std::string bytes = files::readFile(file);
                it->second = Content{bytes.size(), std::hash<std::string>{}(bytes)};
            } catch (const Error&) {
                it->second.reset(); // unreadable: never a match
            }
        }
        return it->second;
    }
    // A name a picture field can hold and that leads back to the same file.
    static bool usable(const text::StoredText& name, const files::Path& file) {
        return name.size() <= kPictureFieldSize && files::isPlainName(name.bytes()) && files::toPath(name) == file.filename();
    }
    std::map<files::Path, Folder> folders_;
    std::map<files::Path, std::optional<Content>> contents_;
};

// Names already used in the picture folders: files there and names records give.
class TakenNames {
public:
    explicit TakenNames(const std::vector<GameRow>& games) {
        for (const GameRow& game : games)
            for (const text::StoredText& image : game.images)
                if (!image.empty()) given_[text::upper(game.sid)].insert(text::upper(image));
    }
    bool taken(const files::Path& folder, const text::StoredText& sid, const text::StoredText& name) {
        const text::StoredText key = text::upper(name);
        std::error_code ec;
        // A link counts as a taken name even when it leads nowhere.
        return given_[text::upper(sid)].count(key) || fs::exists(fs::symlink_status(lookup_.find(folder, name), ec));
    }
    void take(const text::StoredText& sid, const text::StoredText& name) { given_[text::upper(sid)].insert(text::upper(name)); }
    files::NoCaseLookup& lookup() { return lookup_; }

private:
    std::map<text::StoredText, std::set<text::StoredText>> given_; // by Sid in upper case
    files::NoCaseLookup lookup_;
};

// Copies every picture to a temporary file beside its place first, so that
// a run that fails while copying has changed nothing and takes no restore
// point; then puts each in place, told to the journal first, and stores
// the fields in one transaction. On any failure the copies are removed
// again.
void apply(store::Table& games, const files::Path& pictureRoot, const std::vector<Addition>& additions,
           history::PictureJournal& journal) {
    struct Copy {
        files::Path source, temporary, target;
    };
    std::vector<Copy> copies;
    std::vector<files::Path> placed;
    try {
        files::makeFolder(pictureRoot.parent_path());
        files::makeFolder(pictureRoot);
        std::set<files::Path> swept;
        for (const Addition& addition : additions) {
            // The half-written copies a killed run left go first.
            if (swept.insert(addition.folder).second) files::removeTemporaries(addition.folder);
            if (!addition.copy) continue;
            files::makeFolder(addition.folder);
            const files::Path target = addition.folder / files::toPath(addition.name);
            copies.push_back({addition.source, files::temporaryFor(target), target});
            std::error_code ec;
            fs::copy_file(addition.source, copies.back().temporary, ec);
            if (ec)
                throw Error("Не удаётся скопировать картинку в «" + text::toUtf8(addition.name) + "»: " + ec.message());
        }
        for (auto copy = copies.begin(); copy != copies.end(); copy = copies.erase(copy)) {
            journal.copying(copy->source, copy->target);
            if (!files::moveWithoutReplacing(copy->temporary, copy->target))
                throw Error("Не удаётся записать картинку «" + text::toUtf8(files::nameText(copy->target)) +
                            "»: такой файл появился или папка закрыта для записи.");
            placed.push_back(copy->target);
        }
        games.runAsOneTransaction([&] {
            for (std::size_t i = 0; i < additions.size(); ++i) {
                if (i == 0 || additions[i].position != additions[i - 1].position) {
                    games.moveToPosition(static_cast<std::int64_t>(additions[i].position));
                    games.edit();
                }
                games.field(editor::pictureField(additions[i].slot)).setAsString(additions[i].name);
                if (i + 1 == additions.size() || additions[i + 1].position != additions[i].position) games.post();
            }
        });
    } catch (...) {
        for (const Copy& copy : copies) files::removeFile(copy.temporary);
        for (const files::Path& file : placed) files::removeFile(file);
        throw;
    }
}

} // namespace

std::string collectionName(std::string_view name) {
    static constexpr std::string_view kReplaced = "&*/:`<>?\\|";
    std::string result(name);
    for (char& c : result)
        if (kReplaced.find(c) != std::string_view::npos) c = '_';
    return result;
}

std::string slotPictureName(std::string_view gameName, int slot, std::string_view extra, std::string_view extension) {
    std::string start = collectionName(editor::minus(gameName));
    for (char& c : start)
        if (static_cast<unsigned char>(c) < 0x20) c = '_';
    std::string tail = std::to_string(slot) + std::string(extra);
    if (!extension.empty()) tail += "." + text::lowerLatin(extension);
    start.resize(std::min(start.size(), kPictureFieldSize - std::min(kPictureFieldSize, tail.size())));
    return start + tail;
}

PicturesByNameCounts addPicturesByName(store::Table& games, const files::Path& pictureRoot,
                                       const files::Path& folder, const PicturesByNameOptions& options,
                                       history::PictureJournal& journal, const StatusSink& report,
                                       const Progress& progress) {
    if (options.slot < 0 || options.slot > kSlots)
        throw Error("Поле картинки — от 1 до " + std::to_string(kSlots) + ".");
    std::vector<Candidate> candidates = collectCandidates(folder);
    std::unordered_map<std::string, std::vector<std::size_t>> byKey;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        byKey[matchKey(withoutExtension(files::nameText(candidates[i].path).bytes()))].push_back(i);

    std::vector<GameRow> rows = readGames(games);
    TakenNames taken(rows);
    FolderPictures inFolders;
    std::vector<Addition> additions;
    PicturesByNameCounts counts;
    for (std::size_t g = 0; g < rows.size(); ++g) {
        GameRow& game = rows[g];
        const std::size_t position = g + 1;
        const text::StoredText where = cp(" (игра ") + number(position) + ")"_stored;
        if (progress) progress(static_cast<int>(g), static_cast<int>(rows.size()));
        std::vector<std::size_t> matches;
        for (const std::string& key : keysOf(game))
            if (const auto found = byKey.find(key); found != byKey.end())
                for (const std::size_t i : found->second)
                    if (std::find(matches.begin(), matches.end(), i) == matches.end()) matches.push_back(i);
        std::sort(matches.begin(), matches.end());
        for (const std::size_t i : matches) candidates[i].matched = true;
        if (matches.empty()) continue;
        if (!files::isPlainName(game.sid.bytes())) {
            report(cp("Папка картинок «") + game.sid + cp("» не годится, картинки не добавлены") + where);
            counts.skipped += static_cast<int>(matches.size());
            continue;
        }
        const files::Path gameFolder = taken.lookup().find(pictureRoot, game.sid);
        std::vector<files::Path> has; // the game's pictures, and those it gets now
        for (const text::StoredText& image : game.images)
            if (!image.empty() && files::isPlainName(image.bytes())) has.push_back(taken.lookup().find(gameFolder, image));
        for (const std::size_t i : matches) {
            Candidate& candidate = candidates[i];
            if (!readablePicture(candidate)) {
                report(cp("Не читается как картинка, пропущен: ") + candidate.shown);
                ++counts.skipped;
                continue;
            }
            if (std::any_of(has.begin(), has.end(), [&](const auto& file) { return sameContent(candidate.path, file); })) {
                ++counts.alreadyThere;
                continue;
            }
            int slot = options.slot;
            if (slot == 0)
                for (int s = kSlots; s >= 1; --s)
                    if (game.images[static_cast<std::size_t>(s - 1)].empty()) slot = s;
            if (slot == 0 || !game.images[static_cast<std::size_t>(slot - 1)].empty()) {
                report(cp("Нет свободного поля Image для ") + candidate.shown + where);
                ++counts.skipped;
                continue;
            }
            text::StoredText name;
            const std::optional<text::StoredText> inFolder = inFolders.find(gameFolder, candidate.path);
            if (inFolder) {
                name = *inFolder;
            } else {
                const auto nameFor = [&](const std::string& extra) {
                    return text::StoredText::fromCp1251(slotPictureName(game.name.bytes(), slot, extra, candidate.extension));
                };
                const text::StoredText wanted = nameFor("");
                name = wanted;
                for (int n = 2; taken.taken(gameFolder, game.sid, name); ++n) name = nameFor("_" + std::to_string(n));
                if (name != wanted) report(cp("Имя ") + wanted + cp(" занято, взято ") + name + where);
                taken.take(game.sid, name);
                inFolders.copied(gameFolder, candidate.path, name);
            }
            game.images[static_cast<std::size_t>(slot - 1)] = name;
            has.push_back(candidate.path);
            additions.push_back({position, slot, name, candidate.path, gameFolder, !inFolder});
            report(text::StoredText::fromCp1251(editor::pictureField(slot).name()) + " = "_stored + name +
                   cp(inFolder ? " (уже в папке)" : "") + cp(" из ") + candidate.shown + where);
            ++counts.added;
        }
    }
    for (const Candidate& candidate : candidates)
        if (!candidate.matched) {
            report(cp("Нет такой игры: ") + candidate.shown);
            ++counts.unmatched;
        }
    if (!options.dryRun && !additions.empty()) apply(games, pictureRoot, additions, journal);
    return counts;
}

text::StoredText countsLine(const PicturesByNameCounts& counts, bool dryRun) {
    const auto count = [](int n) { return number(static_cast<std::size_t>(n)); };
    return cp(dryRun ? "Пробный прогон, ничего не изменено. " : "") + cp("Добавлено: ") + count(counts.added) +
           cp(", уже были: ") + count(counts.alreadyThere) + cp(", без игры: ") + count(counts.unmatched) +
           cp(", пропущено: ") + count(counts.skipped);
}

} // namespace gamarium::tools
