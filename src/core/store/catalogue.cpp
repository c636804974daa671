#include "store/catalogue.h"

#include "error.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/table_file.h"
#include "store/sqlite.h"
#include "text/cp1251.h"

#include <cstdlib>

namespace gamarium::store {
namespace {

constexpr std::string_view kPatchMark = "_patch";
constexpr std::size_t kLongestName = 120;

// Files that other table stores keep beside a table; a new base must not
// inherit stale ones.
constexpr const char* kSideFileEndings[] = {".fam", ".tv", ".px", ".val",
                                            "_patch.fam", "_patch.tv", "_patch.px", "_patch.val"};

} // namespace

files::Path programFolder(const files::Path& executableFolder) {
    if (const char* home = std::getenv("GAMARIUM_HOME"); home && *home) return files::Path(home);
    return executableFolder;
}

files::Path basesFolder(const files::Path& home) {
    return files::findNoCase(home, "base");
}

files::Path imagesFolder(const files::Path& home) {
    return files::findNoCase(home, "images");
}

std::string gameTableName(std::string_view base) {
    return std::string(base) + ".db";
}

std::string patchTableName(std::string_view base) {
    return std::string(base) + std::string(kPatchMark) + ".db";
}

void prepareFolders(const files::Path& home) {
    files::makeFolder(imagesFolder(home));
    files::makeFolder(basesFolder(home));
}

std::vector<std::string> listBases(const files::Path& home) {
    std::vector<std::string> names;
    const files::Path images = imagesFolder(home);
    for (const files::Entry& entry : files::listFolder(basesFolder(home), "*.db")) {
        if (entry.isFolder || entry.name.find(kPatchMark) != std::string::npos) continue;
        std::string name = entry.name.substr(0, entry.name.size() - 3);
        files::makeFolder(files::findNoCase(images, name));
        names.push_back(std::move(name));
    }
    return names;
}

bool baseExists(const files::Path& home, std::string_view base) {
    return files::fileExists(files::findNoCase(basesFolder(home), gameTableName(base)));
}

void validateBaseName(std::string_view base) {
    if (base.empty()) throw Error("Введите название базы.");
    for (char c : base) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            throw Error("Название базы не может содержать символы \\ / : * ? \" < > | и управляющие символы.");
    }
    if (base == "." || base == "..") throw Error("Недопустимое название базы: «" + std::string(base) + "».");
    if (base.find(kPatchMark) != std::string_view::npos)
        throw Error("Название базы не может содержать «_patch»: такая база не видна в списке баз.");
    if (base.size() > kLongestName) throw Error("Название базы слишком длинное.");
}

void createBase(const files::Path& home, std::string_view base) {
    validateBaseName(base);
    prepareFolders(home);
    const files::Path folder = basesFolder(home);
    const std::string game = gameTableName(base);
    const std::string patches = patchTableName(base);
    // Both old tables must be replaceable before either is replaced, so a
    // refusal (in use, not a table) leaves the base as it was.
    for (const std::string& name : {game, patches}) {
        const files::Path file = files::findNoCase(folder, name);
        if (files::fileExists(file)) openTableFile(file).reset();
    }
    Table::create(folder, game, gameTableSchema());
    Table::create(folder, patches, patchTableSchema());
    for (const char* ending : kSideFileEndings)
        files::removeFile(files::findNoCase(folder, std::string(base) + ending));
    files::makeFolder(files::findNoCase(imagesFolder(home), base));
}

void emptyBase(const files::Path& home, std::string_view base) {
    validateBaseName(base);
    const files::Path folder = basesFolder(home);
    Table::empty(folder, gameTableName(base));
    Table::empty(folder, patchTableName(base));
}

void writeBasesList(const files::Path& home, const std::vector<std::string>& names) {
    std::string content;
    for (const std::string& name : names) content += name + "\r\n";
    files::writeFileReplacing(files::findNoCase(home, "bases.ini"), content);
}

} // namespace gamarium::store
