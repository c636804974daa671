#include "core/text/printable.h"

namespace gamarium::text {

std::string printable(std::string_view utf8, std::size_t longest) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    std::size_t i = 0;
    for (; i < utf8.size() && out.size() < longest; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += utf8[i];
        }
    }
    // Finish a character begun within the limit.
    while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) out += utf8[i++];
    if (i < utf8.size()) out += "…";
    return out;
}

} // namespace gamarium::text
