#include "core/store/paradox_files_aside.h"

#include "core/error.h"
#include "core/paradox/memo_file.h"
#include "core/paradox/paradox_table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <cctype>
#include <ctime>

namespace gamarium::store {
namespace fs = std::filesystem;
namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether a file of the table's name, ending in `ending` (small Latin
// letters), is one of the table's own. Endings are taken exactly; a file
// the program can tell by its first bytes has to begin as one.
bool isTableFile(const files::Path& file, const std::string& ending) {
    using paradox::HeadedFile;
    if (ending == "db") return paradox::isParadoxFile(file, HeadedFile::Table);
    if (ending == "px") return paradox::isParadoxFile(file, HeadedFile::PrimaryIndex);
    if (ending == "mb") return paradox::isMemoFile(file);
    // Secondary indexes of one field: .X01 and .Y01 up to .XFF and .YFF.
    if (ending.size() == 3 && (ending[0] == 'x' || ending[0] == 'y') && isHexDigit(ending[1]) && isHexDigit(ending[2]))
        return paradox::isParadoxFile(file, HeadedFile::SecondaryIndex);
    // The view, family and validity files have no header the program knows.
    return ending == "tv" || ending == "fam" || ending == "val";
}

std::string dateAndTime() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", std::localtime(&now));
    return text;
}

void keepUnder(const files::Path& file, const files::Path& copy) {
    std::error_code ec;
    fs::create_hard_link(file, copy, ec);
    if (!ec) return;
    if (fs::copy_file(file, copy, ec) && !ec) {
        fs::last_write_time(copy, fs::last_write_time(file, ec), ec);
        return;
    }
    throw Error("Не удаётся сохранить файл «" + text::toUtf8(files::nameText(file)) + "» в папке старых файлов.");
}

} // namespace

files::Path datedFolder(const files::Path& basesFolder, std::string_view parent, std::string_view base, bool make) {
    const files::Path above = files::findNoCase(basesFolder, text::StoredText::fromCp1251(parent));
    std::error_code ec;
    if (make) fs::create_directory(above, ec);
    const std::string stem = std::string(base) + "-" + dateAndTime();
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string name = attempt == 1 ? stem : stem + "-" + std::to_string(attempt);
        const files::Path folder = above / files::toPath(text::StoredText::fromCp1251(name));
        if (make ? fs::create_directory(folder, ec) : !fs::exists(folder, ec)) return folder;
        if (ec) break;
    }
    throw Error("Не удаётся создать папку для старых файлов в «" + text::toUtf8(files::nameText(above)) + "».");
}

std::vector<files::Path> paradoxTableFiles(const files::Path& table) {
    const std::string stem = files::nameText(table.stem()).bytes();
    std::vector<files::Path> found;
    for (const files::Entry& entry : files::listFolder(table.parent_path(), "*")) {
        const std::string& name = entry.name.bytes();
        const auto dot = name.rfind('.');
        if (entry.isFolder || dot == std::string::npos || !text::equalNoCase(name.substr(0, dot), stem)) continue;
        const files::Path file = table.parent_path() / files::toPath(entry.name);
        if (isTableFile(file, text::lowerLatin(name.substr(dot + 1)))) found.push_back(file);
    }
    return found;
}

ParadoxFilesAside::ParadoxFilesAside(const files::Path& basesFolder, std::string_view base,
                                     const std::vector<files::Path>& tables)
    : folder_(datedFolder(basesFolder, kParadoxFolder, base, true)), tables_(tables) {
    try {
        for (const files::Path& table : tables)
            for (const files::Path& file : paradoxTableFiles(table)) {
                keepUnder(file, folder_ / file.filename());
                kept_.push_back(file);
            }
    } catch (...) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        throw;
    }
}

ParadoxFilesAside::~ParadoxFilesAside() {
    if (finished_) return;
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::vector<std::pair<files::Path, files::Path>> ParadoxFilesAside::moves() const {
    std::vector<std::pair<files::Path, files::Path>> moves;
    for (const files::Path& file : kept_) moves.emplace_back(file, folder_ / file.filename());
    return moves;
}

bool ParadoxFilesAside::restore(const files::Path& table) {
    std::error_code ec;
    fs::rename(folder_ / table.filename(), table, ec);
    if (ec) finished_ = true; // its only copy now lies there: the folder stays
    return !ec;
}

void ParadoxFilesAside::finish() {
    finished_ = true;
    for (const files::Path& file : kept_)
        if (std::find(tables_.begin(), tables_.end(), file) == tables_.end()) files::removeFile(file);
}

} // namespace gamarium::store
