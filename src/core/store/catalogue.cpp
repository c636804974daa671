#include "core/store/catalogue.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/paradox/paradox_table.h"
#include "core/store/base_folder_lock.h"
#include "core/store/paradox_files_aside.h"
#include "core/store/schema.h"
#include "core/store/sqlite.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace gamarium::store {
namespace {

constexpr std::string_view kPatchMark = "_patch";
constexpr std::string_view kTableEnding = ".db";
// The longest file name the store makes for a base: a patch table being
// built, with SQLite's journal beside it.
constexpr std::string_view kLongestEnding = "_patch.db.new-journal";
constexpr std::size_t kLongestFileName = 255; // bytes (UTF-8) or UTF-16 units, as the system counts

// Files that other table stores keep beside a table; a new base must not
// inherit stale ones.
constexpr const char* kSideFileEndings[] = {".fam", ".tv", ".px", ".val",
                                            "_patch.fam", "_patch.tv", "_patch.px", "_patch.val"};

bool isDeviceName(std::string_view base) {
    const std::string stem = text::upper(base.substr(0, base.find('.')));
    static const std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

std::string shown(std::string_view base) {
    return "«" + text::toUtf8(text::StoredText::fromCp1251(base)) + "»";
}

void requireWritable(sqlite::Database& db) {
    if (db.readOnly()) throw Error("Таблица «" + db.shownName() + "» доступна только для чтения.");
}

// Opens a table file of the base, refusing what is not ours or is in use.
std::unique_ptr<sqlite::Database> holdTable(const files::Path& file) {
    auto db = openTableFile(file);
    requireWritable(*db);
    return db;
}

bool entryExists(const files::Path& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

} // namespace

files::Path programFolder(const files::Path& executableFolder) {
    if (const char* home = std::getenv("GAMARIUM_HOME"); home && *home) return files::Path(home);
    if (files::isWritable(executableFolder)) return executableFolder;
    // Installed for the whole system: the user's data folder.
    files::Path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && files::Path(xdg).is_absolute())
        data = files::Path(xdg);
    else if (const char* user = std::getenv("HOME"); user && *user)
        data = files::Path(user) / ".local" / "share";
    else
        throw Error("Не найдена папка для данных программы: не заданы ни GAMARIUM_HOME, ни HOME.");
    const files::Path folder = data / "Gamarium";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw Error("Не удалось создать папку программы «" + folder.string() + "»: " + error.message());
    return folder;
}

files::Path basesFolder(const files::Path& home) {
    return files::findNoCase(home, "base"_stored);
}

files::Path imagesFolder(const files::Path& home) {
    return files::findNoCase(home, "images"_stored);
}

std::string gameTableName(std::string_view base) {
    validateBaseName(base);
    return std::string(base) + std::string(kTableEnding);
}

std::string patchTableName(std::string_view base) {
    validateBaseName(base);
    return std::string(base) + std::string(kPatchMark) + std::string(kTableEnding);
}

void prepareFolders(const files::Path& home) {
    files::makeFolder(imagesFolder(home));
    files::makeFolder(basesFolder(home));
}

std::vector<std::string> findBases(const files::Path& home) {
    std::vector<std::string> names;
    for (const files::Entry& entry : files::listFolder(basesFolder(home), "*.db")) {
        const std::string& name = entry.name.bytes();
        if (entry.isFolder || name.find(kPatchMark) != std::string::npos) continue;
        names.push_back(name.substr(0, name.size() - kTableEnding.size()));
    }
    return names;
}

std::vector<std::string> listBases(const files::Path& home) {
    std::vector<std::string> names = findBases(home);
    for (const std::string& name : names) makePictureFolder(home, name);
    return names;
}

bool baseExists(const files::Path& home, std::string_view base) {
    const files::Path folder = basesFolder(home);
    return files::fileExists(files::findNoCase(folder, text::StoredText::fromCp1251(gameTableName(base)))) ||
           files::fileExists(files::findNoCase(folder, text::StoredText::fromCp1251(patchTableName(base))));
}

void validateBaseName(std::string_view base) {
    if (base.empty()) throw Error("Введите название базы.");
    for (char c : base) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            throw Error("Название базы не может содержать символы \\ / : * ? \" < > | и управляющие символы.");
    }
    if (base.back() == '.' || base.back() == ' ')
        throw Error("Название базы не может кончаться точкой или пробелом.");
    if (isDeviceName(base)) throw Error("Название " + shown(base) + " занято системой Windows под имя устройства.");
    if (text::lower(base).find(kPatchMark) != std::string::npos)
        throw Error("Название базы не может содержать «_patch»: так называются таблицы патчей.");
    const files::Path longest = files::toPath(text::StoredText::fromCp1251(std::string(base) + std::string(kLongestEnding)));
    if (longest.native().size() > kLongestFileName) throw Error("Название базы слишком длинное.");
}

std::string createBase(const files::Path& home, std::string_view base, bool replaceExisting,
                       const BaseChangeHooks& hooks) {
    const std::string game = gameTableName(base);
    const std::string patches = patchTableName(base);
    prepareFolders(home);
    const files::Path folder = basesFolder(home);
    BaseFolderLock lock(folder);
    const files::Path gameFile = files::findNoCase(folder, text::StoredText::fromCp1251(game));
    const files::Path patchFile = files::findNoCase(folder, text::StoredText::fromCp1251(patches));
    const bool gameExisted = entryExists(gameFile);
    if (!replaceExisting && (gameExisted || entryExists(patchFile))) throw Error("База " + shown(base) + " уже есть.");
    {
        // Both old tables are checked and held, and both new ones built,
        // before either old one goes.
        // Old Paradox tables are not opened but moved aside whole.
        std::unique_ptr<sqlite::Database> held[2];
        std::vector<files::Path> paradoxTables;
        for (int i = 0; i < 2; ++i) {
            const files::Path& file = i == 0 ? gameFile : patchFile;
            if (!entryExists(file)) continue;
            if (paradox::isParadoxTable(file))
                paradoxTables.push_back(file);
            else
                held[i] = holdTable(file);
        }
        NewTableFile newGames(gameFile, gameTableSchema());
        NewTableFile newPatches(patchFile, patchTableSchema());
        if (hooks.before) hooks.before(held[0].get(), held[1].get());
        held[0].reset();
        held[1].reset();
        std::optional<ParadoxFilesAside> aside;
        if (!paradoxTables.empty()) {
            aside.emplace(folder, base, paradoxTables);
            if (hooks.moving)
                for (const auto& [from, to] : aside->moves()) hooks.moving(from, to);
        }
        newGames.putInPlace();
        try {
            newPatches.putInPlace();
        } catch (...) {
            if (aside && paradoxTables.front() == gameFile)
                aside->restore(gameFile);
            else if (!gameExisted)
                files::removeFile(gameFile);
            throw;
        }
        if (aside) aside->finish();
    }
    for (const char* ending : kSideFileEndings)
        files::removeFile(files::findNoCase(folder, text::StoredText::fromCp1251(std::string(base) + ending)));
    const std::string fileName = files::nameText(gameFile).bytes();
    return fileName.substr(0, fileName.size() - kTableEnding.size());
}

void makePictureFolder(const files::Path& home, std::string_view base) {
    files::makeFolder(files::findNoCase(imagesFolder(home), text::StoredText::fromCp1251(base)));
}

void emptyBase(const files::Path& home, std::string_view base, const BaseChangeHooks& hooks) {
    const std::string game = gameTableName(base);
    const std::string patches = patchTableName(base);
    const files::Path folder = basesFolder(home);
    BaseFolderLock lock(folder);
    auto games = holdTable(files::findNoCase(folder, text::StoredText::fromCp1251(game)));
    auto patchTable = holdTable(files::findNoCase(folder, text::StoredText::fromCp1251(patches)));
    if (hooks.before) hooks.before(games.get(), patchTable.get());
    removeAllRecords(*games);
    removeAllRecords(*patchTable);
}

void writeBasesList(const files::Path& home, const std::vector<std::string>& names) {
    std::string content;
    for (const std::string& name : names) content += name + "\r\n";
    files::writeFileReplacing(files::findNoCase(home, "bases.ini"_stored), content);
}

} // namespace gamarium::store
