#include "core/text/cp1251.h"
#include "core/text/wildcard.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string_view>
#include <type_traits>

#include <iconv.h>

namespace gamarium::text {
namespace {

// Stored text and UTF-8 do not mix: neither becomes the other unasked, and
// only an ASCII literal ("..."_stored) is stored text as written.
static_assert(!std::is_convertible_v<std::string, StoredText>);
static_assert(!std::is_convertible_v<std::string_view, StoredText>);
static_assert(!std::is_convertible_v<const char*, StoredText>);
static_assert(!std::is_convertible_v<StoredText, std::string>);
static_assert(!std::is_convertible_v<StoredText, std::string_view>);

// Windows-1251 bytes written out, so the test does not depend on the
// encoding of this source file.
const std::string kYoUpper = "\xA8";  // Ё
const std::string kYoLower = "\xB8";  // ё
const std::string kPrivet = "\xCF\xF0\xE8\xE2\xE5\xF2"; // Привет

std::string utf8Of(char32_t cp) {
    std::string out;
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
    return out;
}

TEST(Cp1251, CaseMappingCoversLatinAndCyrillic) {
    struct Case { std::string in, up, low; };
    const Case cases[] = {
        {"Mario 3", "MARIO 3", "mario 3"},
        {kPrivet, "\xCF\xD0\xC8\xC2\xC5\xD2", "\xEF\xF0\xE8\xE2\xE5\xF2"},
        {kYoUpper + kYoLower, kYoUpper + kYoUpper, kYoLower + kYoLower},
        {"\x80\x90\xA1\xA2\xB2\xB3", "\x80\x80\xA1\xA1\xB2\xB2", "\x90\x90\xA2\xA2\xB3\xB3"},
        {"\xAB\xBB\xB9", "\xAB\xBB\xB9", "\xAB\xBB\xB9"}, // «»№ have no case
    };
    for (const auto& c : cases) {
        EXPECT_EQ(upper(c.in), c.up) << c.in;
        EXPECT_EQ(lower(c.in), c.low) << c.in;
    }
}

TEST(Cp1251, LatinOnlyMappingLeavesCyrillicAlone) {
    EXPECT_EQ(lowerLatin("ABC" + kPrivet), "abc" + kPrivet);
}

TEST(Cp1251, RoundTripsEveryByteThroughUtf8) {
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(fromUtf8(toUtf8(StoredText::fromCp1251(all))).bytes(), all);
    EXPECT_EQ(toUtf8(StoredText::fromCp1251(kPrivet)), "Привет");
    EXPECT_EQ(toUtf8(StoredText::fromCp1251("\xB9")), "№");
}

TEST(Cp1251, UnmappableAndMalformedUtf8BecomeQuestionMarks) {
    struct Case { std::string utf8, cp1251; };
    const Case cases[] = {
        {"a€b", "a\x88" "b"}, // the euro sign is in the code page
        {"a中b", "a?b"},
        {"a😀b", "a?b"},
        {"a\xFF" "b", "a?b"},
        {"a\xD0", "a?"},                  // cut in the middle of a character
        {"\xE2\x82" "A", "??A"},
        {"\xD0\xD0\x90", "?\xC0"},          // a lead byte where a continuation belongs
        {"\x80\xBF", "??"},                // continuations without a lead
        {"\xF8\x88\x80\x80\x80", "?????"},  // five-byte forms are not UTF-8
        {"\xED\xA0\x80", "?"},             // a surrogate
        {"\xF4\x90\x80\x80", "?"},         // past U+10FFFF
        {"\xC2\x80", "?"},                 // a control character the code page lacks
        // Overlong forms are read for their value, as they always were.
        {std::string("\xC0\x80", 2), std::string(1, '\0')},
        {"\xC1\xBF", "\x7F"},
        {"\xE0\x81\x81", "A"},
        {"\xF0\x80\x81\x81", "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(fromUtf8(c.utf8).bytes(), c.cp1251) << testing::PrintToString(c.utf8);
}

// Every byte and every character of the Basic Multilingual Plane against
// the C library's own Windows-1251 converter; 0x98, which the code page
// leaves unassigned, stands for U+0098 so that it survives a round trip.
TEST(Cp1251, EveryByteAndEveryCharacterConvertAsIconvDoes) {
    std::array<char32_t, 256> codeOf{};
    std::map<char32_t, unsigned char> byteOf;
    const iconv_t toUnicode = iconv_open("UTF-32LE", "CP1251");
    ASSERT_NE(toUnicode, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        char32_t out = 0;
        char* from = &in;
        char* to = reinterpret_cast<char*>(&out);
        std::size_t inLeft = 1, outLeft = sizeof out;
        codeOf[b] = b == 0x98 ? 0x98 : iconv(toUnicode, &from, &inLeft, &to, &outLeft) == 0 ? out : 0xFFFF;
        byteOf[codeOf[b]] = static_cast<unsigned char>(b);
    }
    iconv_close(toUnicode);
    ASSERT_EQ(byteOf.size(), 256u) << "every byte is a character of its own";

    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(toCodePoint(static_cast<unsigned char>(b)), codeOf[b]) << b;
        EXPECT_EQ(toUtf8(StoredText::fromCp1251(std::string(1, static_cast<char>(b)))), utf8Of(codeOf[b])) << b;
    }
    std::string all, allUtf8; // every character once, as one text
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const auto known = byteOf.find(cp);
        const char expected = known == byteOf.end() ? '?' : static_cast<char>(known->second);
        ASSERT_EQ(fromCodePoint(cp), expected) << std::hex << static_cast<unsigned>(cp);
        ASSERT_EQ(fromUtf8(utf8Of(cp)).bytes(), std::string(1, expected)) << std::hex << static_cast<unsigned>(cp);
        all += expected;
        allUtf8 += utf8Of(cp);
    }
    EXPECT_EQ(fromUtf8(allUtf8).bytes(), all);
    EXPECT_EQ(fromCodePoint(0x10000), '?');
    EXPECT_EQ(fromCodePoint(0x110000), '?');
}

TEST(Wildcard, MatchesLikeWindowsFileFunctions) {
    struct Case { const char* pattern; std::string name; bool matches; };
    const Case cases[] = {
        {"*.db", "games.db", true},
        {"*.db", "GAMES.DB", true},
        {"*.db", "games.dbx", false},
        {"*.db", "games", false},
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"Super*.*", "Super", true},
        {"Super*.*", "super2.jpg", true},
        {"Super_Mario_Bros*.*", "Super1.png", false},
        {"?ario.png", "Mario.png", true},
        {"?ario.png", "ario.png", false},
        {"*", "", true},
        {"", "a", false},
        {"\xCC\xE0\xF0\xE8\xEE*.*", "\xEC\xC0\xD0\xC8\xCE.png", true}, // Марио vs мАРИО
        {"a*b*c*d*e*f*g", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
}

} // namespace
} // namespace gamarium::text
