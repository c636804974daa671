#pragma once

#include "files/files.h"

#include <string>
#include <string_view>
#include <vector>

// The bases of a program folder: base/<name>.db (games) and
// base/<name>_patch.db (patches), with pictures under images/<name>/.
// Base names are Windows-1251 texts.
namespace gamarium::store {

// The program folder: GAMARIUM_HOME when set, else the executable's folder.
files::Path programFolder(const files::Path& executableFolder);

files::Path basesFolder(const files::Path& home);
files::Path imagesFolder(const files::Path& home);

std::string gameTableName(std::string_view base);
std::string patchTableName(std::string_view base);

// Makes images/ and then base/ (one level each, failures passed over).
void prepareFolders(const files::Path& home);

// The bases found in base/, in the order the file system returns them: every
// *.db file whose name does not contain "_patch". Each listed base gets its
// folder images/<name> made.
std::vector<std::string> listBases(const files::Path& home);

bool baseExists(const files::Path& home, std::string_view base);

// Refuses names that could not be a base: empty, with a path separator, a
// character no file name may hold, "." or "..", or containing "_patch".
void validateBaseName(std::string_view base);

// Creates the base's two empty tables (replacing those of an existing base
// of that name), removes the store's side files and makes images/<name>.
void createBase(const files::Path& home, std::string_view base);

// Empties the game table, then the patch table.
void emptyBase(const files::Path& home, std::string_view base);

// Rewrites bases.ini in the program folder: one name a line, CR LF.
void writeBasesList(const files::Path& home, const std::vector<std::string>& names);

} // namespace gamarium::store
