#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <optional>
#include <string>

namespace gamarium::history {

// A file's content as a 64-bit XXH3 hash, read in one pass; nothing for a
// file that is missing or cannot be read.
std::optional<std::uint64_t> contentHash(const files::Path& file);

// The hash as 16 lower-case hexadecimal digits, and back.
std::string hashText(std::uint64_t hash);
std::optional<std::uint64_t> hashFromText(std::string_view text);

} // namespace gamarium::history
