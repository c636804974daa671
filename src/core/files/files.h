#pragma once

#include "core/text/stored_text.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// File system access in the program's terms: names are Windows-1251 texts,
// and a name given by the program is found whatever its letter case.
namespace gamarium::files {

using Path = std::filesystem::path;

// A Windows-1251 path text as a path; a backslash counts as a separator.
Path toPath(const text::StoredText& text);
// A path the user typed, with a backslash as a separator wherever the
// system takes it for a letter of a name; its bytes are kept.
Path withSlashes(const Path& typed);
// The last component of a path as stored text.
text::StoredText nameText(const Path& path);
// A whole path as a message (UTF-8) names it, control characters escaped.
std::string shownPath(const Path& path);

// The entry `name` of `folder`: the exact name if it exists, else an entry
// whose name differs only in letter case, else folder/name (not existing).
Path findNoCase(const Path& folder, const text::StoredText& name);
struct Entry {
    text::StoredText name;
    bool isFolder = false;
};

// The entries of `folder` whose names match the Windows pattern, in the
// order the file system returns them; hidden entries included, "." and ".."
// never. A missing or unreadable folder gives an empty list.
std::vector<Entry> listFolder(const Path& folder, std::string_view pattern);

// True for an existing file that is not a folder.
bool fileExists(const Path& path);

// Makes one folder level; an existing folder or a failure is passed over.
void makeFolder(const Path& path);
// Deletes a file; a failure is passed over.
void removeFile(const Path& path);

// Reads a whole file; throws Error when it cannot be read, is a folder, or
// holds more than `limit` bytes (a device such as /dev/zero never ends).
std::string readFile(const Path& path, std::size_t limit = std::string().max_size());
// Writes a whole file through a temporary file in the same folder, so that
// a failed write leaves the old file (or none) instead of half a file. The
// new file keeps the mode of the one it replaces, and its owner where the
// process may. Throws Error when the file cannot be written.
void writeFileReplacing(const Path& path, std::string_view bytes);

// Every temporary file of the program is named "<name>.gamarium-tmp-<six
// hex digits>" beside the file it is meant to become, whatever writes it
// (pages, copies, tables, pictures); a killed run leaves such files, and
// this one pattern is how they are known again.
Path temporaryFor(const Path& path);
bool isTemporaryName(std::string_view name);
// The program's temporary files in `folder` (only those meant to become
// the file `ofName`, Windows-1251, when it is given): regular files only, never a folder
// or a link, never a name of another pattern.
std::vector<Path> leftoverTemporaries(const Path& folder, std::string_view ofName = {});
// Deletes leftoverTemporaries(folder). Failures pass over.
void removeTemporaries(const Path& folder);

} // namespace gamarium::files
