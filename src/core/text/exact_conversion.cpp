#include "core/text/exact_conversion.h"

#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"
#include "core/text/unaccented.h"

#include <cstdio>

namespace gamarium::text {
namespace {

constexpr unsigned char kUnassigned = 0x98;

// A character as a message names it: itself and its code, «é» (U+00E9).
std::string characterName(std::string_view utf8, char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    return "«" + printable(utf8) + "» (" + code + ")";
}

// The length of a well-formed UTF-8 sequence at `at` and its code point, or
// 0 when the bytes there are not one.
std::size_t decodeOne(std::string_view s, std::size_t at, char32_t& cp) {
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

// UTF-8 as Windows-1251; with `unaccented`, accented Latin letters the code
// page lacks are written without their accents and counted there.
ExactText convertUtf8(std::string_view utf8, int* unaccented) {
    ExactText result;
    result.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = decodeOne(utf8, i, cp);
        if (length == 0) {
            result.problem = "байты, которые не являются текстом UTF-8 (файл в другой кодировке?)";
            return result;
        }
        i += length;
        const char byte = fromCodePoint(cp);
        if ((byte == '?' && cp != U'?') || static_cast<unsigned char>(byte) == kUnassigned) {
            if (unaccented && isCombiningAccent(cp)) {
                ++*unaccented;
                continue;
            }
            const std::string_view letters = unaccented ? text::unaccented(cp) : std::string_view();
            if (letters.empty()) {
                result.problem = "символ " + characterName(utf8.substr(i - length, length), cp) +
                                 ", которого нет в кодировке Windows-1251";
                return result;
            }
            result.text += letters;
            ++*unaccented;
            continue;
        }
        result.text += byte;
    }
    return result;
}

} // namespace

ExactText fromUtf8Exactly(std::string_view utf8) {
    return convertUtf8(utf8, nullptr);
}

ExactText fromUtf8Unaccented(std::string_view utf8, int& unaccented) {
    return convertUtf8(utf8, &unaccented);
}

bool isUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0, length = 0; i < bytes.size(); i += length)
        if ((length = decodeOne(bytes, i, cp)) == 0) return false;
    return true;
}

std::string toStoredText(std::string_view utf8) {
    ExactText exact = fromUtf8Exactly(utf8);
    if (!exact.problem.empty()) throw Error("«" + printable(utf8) + "»: " + exact.problem + ".");
    return std::move(exact.text);
}

ExactText fromCp1251Exactly(std::string_view cp1251) {
    ExactText result;
    if (cp1251.find(static_cast<char>(kUnassigned)) != std::string_view::npos) {
        result.problem = "байт 0x98, который не является символом Windows-1251";
        return result;
    }
    result.text.assign(cp1251);
    return result;
}

} // namespace gamarium::text
