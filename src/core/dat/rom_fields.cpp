#include "core/dat/rom_fields.h"

#include "core/dat/dat_game.h"
#include "core/text/printable.h"

#include <algorithm>
#include <charconv>

namespace gamarium::dat {

std::uint64_t romSize(std::string_view text, int line) {
    std::uint64_t size = 0;
    const char* end = text.data() + text.size();
    const bool digits =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto [at, ec] = std::from_chars(text.data(), end, size);
    if (!digits || ec != std::errc() || at != end)
        throw DamagedDat(line, "размер ROM " + text::quoted(text) + " не число");
    return size;
}

std::uint32_t romCrc(std::string_view text, int line) {
    std::uint32_t crc = 0;
    const char* end = text.data() + text.size();
    const bool hex = text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    const auto [at, ec] = std::from_chars(text.data(), end, crc, 16);
    if (!hex || ec != std::errc() || at != end)
        throw DamagedDat(line, "CRC " + text::quoted(text) + " не из 8 шестнадцатеричных цифр");
    return crc;
}

} // namespace gamarium::dat
