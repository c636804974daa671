#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace gamarium::paradox {

// Byte ranges of a file, read when asked for. A range that goes past the
// end of the file is refused, so that a cut or damaged file can never make
// a reader look beyond what is there.
class FileBytes {
public:
    // Throws Error when the file cannot be opened.
    explicit FileBytes(const files::Path& file);

    std::uint64_t size() const { return size_; }

    // Reads `count` bytes at `offset` into `out`; false (and `out` empty)
    // when the file ends before.
    bool read(std::uint64_t offset, std::size_t count, std::string& out);

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

// The first `count` bytes of a regular file; nothing for a file that is
// shorter, cannot be read or is no regular file.
std::optional<std::string> headOf(const files::Path& file, std::size_t count);

// Numbers in the files' own byte order (headers: low byte first) and in
// the records' (high byte first), from bytes known to be there.
inline std::uint32_t lowFirst(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

inline std::uint32_t highFirst(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace gamarium::paradox
