#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

// What a command does to picture files, told before it does it, so that a
// restore can take it back.
namespace gamarium::history {

class PictureJournal {
public:
    virtual ~PictureJournal() = default;
    // `from` is about to be moved to `to`.
    virtual void moving(const files::Path& from, const files::Path& to) = 0;
    // `to` is about to be made as a copy of `from`.
    virtual void copying(const files::Path& from, const files::Path& to) = 0;
};

// How messages and journals name a file: relative to the program folder
// when inside it, with "/" between the parts (UTF-8).
std::string shownPath(const files::Path& home, const files::Path& path);

// The journal file of a restore point. Each entry is one line with the
// file's content hash, appended and handed to the system before the tool
// goes on, so that a killed command leaves a true journal. Paths are kept
// relative to the program folder.
class JournalFile : public PictureJournal {
public:
    JournalFile(files::Path home, files::Path file);

    void moving(const files::Path& from, const files::Path& to) override;
    void copying(const files::Path& from, const files::Path& to) override;

private:
    void add(const char* kind, const files::Path& from, const files::Path& to);

    files::Path home_;
    files::Path file_;
    std::ofstream out_;
};

struct JournalEntry {
    enum class Kind { Move, Copy };
    Kind kind = Kind::Move;
    files::Path from, to;              // absolute
    std::optional<std::string> hash; // files::hashOfFile; none when the file could not be read
};

// The entries of a journal file in the order they were written; a line cut
// short by a kill is passed over. A missing file has none; a line that is
// not an entry makes it damaged (Error).
std::vector<JournalEntry> readJournal(const files::Path& home, const files::Path& file);

} // namespace gamarium::history
