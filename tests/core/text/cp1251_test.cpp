#include "core/text/cp1251.h"
#include "core/text/wildcard.h"

#include <gtest/gtest.h>

namespace gamarium::text {
namespace {

// Windows-1251 bytes written out, so the test does not depend on the
// encoding of this source file.
const std::string kYoUpper = "\xA8";  // Ё
const std::string kYoLower = "\xB8";  // ё
const std::string kPrivet = "\xCF\xF0\xE8\xE2\xE5\xF2"; // Привет

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
    EXPECT_EQ(fromUtf8(toUtf8(all)), all);
    EXPECT_EQ(toUtf8(kPrivet), "Привет");
    EXPECT_EQ(toUtf8("\xB9"), "№");
}

TEST(Cp1251, UnmappableAndMalformedUtf8BecomeQuestionMarks) {
    EXPECT_EQ(fromUtf8("a€b"), "a\x88" "b");   // the euro sign is in the code page
    EXPECT_EQ(fromUtf8("a中b"), "a?b");
    EXPECT_EQ(fromUtf8("a😀b"), "a?b");
    EXPECT_EQ(fromUtf8("a\xFF" "b"), "a?b");
    EXPECT_EQ(fromUtf8("a\xD0"), "a?");          // cut in the middle of a character
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
