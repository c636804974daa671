#include "core/text/not_text.h"

#include <algorithm>
#include <cstdio>

namespace gamarium::text {

std::optional<NotText> findNotText(std::string_view bytes, TextKind kind) {
    const auto stop = [kind](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == 0 || (kind == TextKind::Name && (byte < 0x20 || byte == 0x7F));
    };
    const auto it = std::find_if(bytes.begin(), bytes.end(), stop);
    if (it == bytes.end()) return std::nullopt;
    NotText found;
    found.at = static_cast<std::size_t>(it - bytes.begin());
    if (*it == '\0') {
        found.reason = "нулевой байт; это не текстовый файл";
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(static_cast<unsigned char>(*it)));
        found.reason = std::string("управляющий символ ") + code;
    }
    return found;
}

} // namespace gamarium::text
