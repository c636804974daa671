#include "core/text/cp1251.h"

#include <array>

namespace gamarium::text {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
// 0x98 is unassigned in the code page and kept as U+0098 so that it survives
// a round trip.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

struct CaseTables {
    std::array<unsigned char, 256> up{};
    std::array<unsigned char, 256> down{};
};

CaseTables makeCaseTables() {
    CaseTables t;
    for (int i = 0; i < 256; ++i) {
        t.up[i] = static_cast<unsigned char>(i);
        t.down[i] = static_cast<unsigned char>(i);
    }
    auto pair = [&t](int upperByte, int lowerByte) {
        t.up[lowerByte] = static_cast<unsigned char>(upperByte);
        t.down[upperByte] = static_cast<unsigned char>(lowerByte);
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) pair(c, c + 32); // А..Я / а..я
    // The other Cyrillic letters of the code page, Ё/ё among them.
    const int pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                            {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                            {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                            {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto& p : pairs) pair(p[0], p[1]);
    return t;
}

const CaseTables& caseTables() {
    static const CaseTables tables = makeCaseTables();
    return tables;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t toCodePoint(unsigned char c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0);
    return kHigh[c - 0x80];
}

char fromCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string toUtf8(std::string_view cp1251) {
    if (isAscii(cp1251)) return std::string(cp1251);
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char c : cp1251) appendUtf8(out, toCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    // Never longer than the UTF-8: written in place, cut to length at the end.
    std::string out(utf8.size(), '\0');
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out[length++] = static_cast<char>(b);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out[length++] = '?';
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid) {
            out[length++] = '?';
            ++i;
            continue;
        }
        out[length++] = fromCodePoint(cp);
        i += 1 + extra;
    }
    out.resize(length);
    return out;
}

char upper(char c) {
    return static_cast<char>(caseTables().up[static_cast<unsigned char>(c)]);
}

char lower(char c) {
    return static_cast<char>(caseTables().down[static_cast<unsigned char>(c)]);
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upper(c);
    return out;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

std::string lowerLatin(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

} // namespace gamarium::text
