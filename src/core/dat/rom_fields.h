#pragma once

#include <cstdint>
#include <string_view>

// The numbers a ROM entry carries, checked as they are read.
namespace gamarium::dat {

// A size in bytes: decimal digits only. Anything else throws DamagedDat
// naming `line`.
std::uint64_t romSize(std::string_view text, int line);

// A CRC32: exactly 8 hexadecimal digits, either case. Anything else throws
// DamagedDat naming `line`.
std::uint32_t romCrc(std::string_view text, int line);

} // namespace gamarium::dat
