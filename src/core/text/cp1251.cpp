#include "core/text/cp1251.h"

#include <array>
#include <cstdint>
#include <cstring>

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

// Every byte's code point.
constexpr std::array<char16_t, 256> kCodePoints = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<char16_t>(b < 0x80 ? b : b >= 0xC0 ? 0x0410 + (b - 0xC0) : kHigh[b - 0x80]);
    return t;
}();

// Every byte's UTF-8 form: its length, then its bytes.
constexpr std::array<std::array<char, 4>, 256> kUtf8 = [] {
    std::array<std::array<char, 4>, 256> t{};
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = kCodePoints[b];
        if (cp < 0x80) {
            t[b] = {1, static_cast<char>(cp)};
        } else if (cp < 0x800) {
            t[b] = {2, static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
        } else {
            t[b] = {3, static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
        }
    }
    return t;
}();

// The way back, for code points below U+10000 in pages of 256: which page
// holds a code point's byte (0: a page of none), and the pages, where 0
// means the code page lacks the character. Code points below 0x80 are
// their own bytes and never looked up.
struct ByteTables {
    std::array<unsigned char, 256> pageOf{};
    std::array<std::array<unsigned char, 256>, 5> pages{};
};

constexpr ByteTables kBytes = [] {
    ByteTables t;
    int used = 1;
    for (int b = 0x80; b < 256; ++b) {
        const int page = kCodePoints[b] >> 8;
        if (t.pageOf[page] == 0) t.pageOf[page] = static_cast<unsigned char>(used++);
        t.pages[t.pageOf[page]][kCodePoints[b] & 0xFF] = static_cast<unsigned char>(b);
    }
    return t;
}();

// The bytes of U+0400..U+047F ('?' for those the code page lacks), the
// letters of most texts.
constexpr std::array<char, 128> kCyrillic = [] {
    std::array<char, 128> t{};
    for (std::size_t i = 0; i < t.size(); ++i) {
        const unsigned char byte = kBytes.pages[kBytes.pageOf[0x04]][i];
        t[i] = byte ? static_cast<char>(byte) : '?';
    }
    return t;
}();

struct CaseTables {
    std::array<unsigned char, 256> up{};
    std::array<unsigned char, 256> down{};
};

constexpr CaseTables kCase = [] {
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
}();

} // namespace

char32_t toCodePoint(unsigned char c) {
    return kCodePoints[c];
}

char fromCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x10000) return '?';
    const unsigned char byte = kBytes.pages[kBytes.pageOf[cp >> 8]][cp & 0xFF];
    return byte ? static_cast<char>(byte) : '?';
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string toUtf8(const StoredText& text) {
    const std::string_view cp1251 = text.bytes();
    if (isAscii(cp1251)) return std::string(cp1251);
    // Written in place, cut to length at the end.
    std::string out(cp1251.size() * 3, '\0');
    char* to = out.data();
    for (const char c : cp1251) {
        const std::array<char, 4>& form = kUtf8[static_cast<unsigned char>(c)];
        // Always four bytes copied, of which the length counts.
        to[0] = form[1], to[1] = form[2], to[2] = form[3];
        to += form[0];
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

void fromUtf8(std::string_view utf8, StoredText& text) {
    std::string& out = text.bytes_;
    // Never longer than the UTF-8: written in place, cut to length at the end.
    out.resize(utf8.size());
    char* to = out.data();
    const auto* at = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = at + utf8.size();
    while (at < end) {
        const unsigned char b = *at;
        if (b < 0x80) {
            *to++ = static_cast<char>(b);
            ++at;
            // The rest of a run of ASCII eight bytes at a time (a lone
            // space between words of letters goes on at once).
            if (at < end && *at >= 0x80) continue;
            for (std::uint64_t word; end - at >= 8; at += 8, to += 8) {
                std::memcpy(&word, at, 8);
                if (word & 0x8080808080808080u) break;
                std::memcpy(to, &word, 8);
            }
            continue;
        }
        // Cyrillic (U+0400..U+047F) straight from its two bytes, a word of
        // them at a time.
        if ((b & 0xFE) == 0xD0 && end - at >= 2 && (at[1] & 0xC0) == 0x80) {
            do {
                *to++ = kCyrillic[((at[0] & 1) << 6) | (at[1] & 0x3F)];
                at += 2;
            } while (end - at >= 2 && (at[0] & 0xFE) == 0xD0 && (at[1] & 0xC0) == 0x80);
            continue;
        }
        std::size_t extra = 0;
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
            *to++ = '?';
            ++at;
            continue;
        }
        // A malformed sequence gives one "?" for its first byte; the next
        // byte starts afresh.
        bool valid = extra < static_cast<std::size_t>(end - at);
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            if ((at[k] & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (at[k] & 0x3F);
        }
        if (!valid) {
            *to++ = '?';
            ++at;
            continue;
        }
        *to++ = fromCodePoint(cp);
        at += 1 + extra;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

StoredText fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return StoredText::fromCp1251(std::string(utf8));
    StoredText out;
    fromUtf8(utf8, out);
    return out;
}

char upper(char c) {
    return static_cast<char>(kCase.up[static_cast<unsigned char>(c)]);
}

char lower(char c) {
    return static_cast<char>(kCase.down[static_cast<unsigned char>(c)]);
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

StoredText upper(const StoredText& s) {
    return StoredText::fromCp1251(upper(s.bytes()));
}

StoredText lower(const StoredText& s) {
    return StoredText::fromCp1251(lower(s.bytes()));
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

bool equalNoCase(const StoredText& a, const StoredText& b) {
    return equalNoCase(std::string_view(a.bytes()), std::string_view(b.bytes()));
}

} // namespace gamarium::text
