#include "core/text/utf8_sequence.h"

namespace gamarium::text {

std::size_t utf8SequenceAt(std::string_view s, std::size_t at, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[at]);
    std::size_t length = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[at + k]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

} // namespace gamarium::text
