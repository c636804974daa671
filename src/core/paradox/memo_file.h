#pragma once

#include "core/paradox/file_bytes.h"

#include <cstdint>
#include <string>

namespace gamarium::paradox {

// True when the file begins with the header block of a memo file.
bool isMemoFile(const files::Path& file);

// The memo file (.mb) of an old table: the memo texts that do not fit in
// their records, in blocks of 4 KiB. A block holds either one long text or
// up to 64 short ones found through a table of pointers at its start.
class MemoFile {
public:
    // Opens the file and checks its header block.
    MemoFile(const files::Path& file, std::string shownName);

    // The memo that a record names by its place (`where`: block offset in
    // the high bytes, entry index in the low one, 0xFF for a block of its
    // own) and its length. Throws Error when the file does not hold it.
    std::string read(std::uint32_t where, std::uint32_t length);

private:
    void loadBlock(std::uint32_t start, const std::string& place);
    [[noreturn]] void damaged(const std::string& what) const;

    FileBytes bytes_;
    std::string shownName_;
    std::string block_;
    std::uint32_t blockStart_ = 0; // of the block in block_; 0 for none
};

} // namespace gamarium::paradox
