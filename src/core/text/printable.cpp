#include "core/text/printable.h"

#include "core/text/utf8_sequence.h"

#include <cstdio>

namespace gamarium::text {
namespace {

bool shownEscaped(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0x2028 || cp == 0x2029;
}

void appendEscaped(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
}

} // namespace

std::string printable(std::string_view utf8, std::size_t longest) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size() && out.size() < longest) {
        char32_t cp = 0;
        const std::size_t length = utf8SequenceAt(utf8, i, cp);
        const std::string_view character = utf8.substr(i, length == 0 ? 1 : length);
        if (length == 0 || shownEscaped(cp))
            appendEscaped(out, character);
        else
            out += character;
        i += character.size();
    }
    if (i < utf8.size()) out += "…";
    return out;
}

std::string quoted(std::string_view utf8, std::size_t longest) {
    return "«" + printable(utf8, longest) + "»";
}

std::string characterName(std::string_view utf8, char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    return quoted(utf8) + " (" + code + ")";
}

} // namespace gamarium::text
