#include "core/error.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"

#include <gtest/gtest.h>

namespace gamarium::text {
namespace {

// What a command's argument becomes in a table: exactly its characters,
// or a refusal that names the first one the code page has not.
TEST(ExactConversion, StoredTextsAreExactOrRefused) {
    EXPECT_EQ(toStoredText("Марио 64").bytes(), "\xCC\xE0\xF0\xE8\xEE 64");
    EXPECT_EQ(toStoredText("№ «ё»").bytes(), "\xB9 \xAB\xB8\xBB");
    const std::pair<const char*, const char*> refused[] = {
        {"Pokémon", "«é» (U+00E9)"},
        {"漢字", "«漢» (U+6F22)"},
        {"A\xC0\xAF", "UTF-8"},
    };
    for (const auto& [utf8, said] : refused) {
        try {
            toStoredText(utf8);
            ADD_FAILURE() << "accepted " << utf8;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(said), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(isUtf8("Марио"));
    EXPECT_FALSE(isUtf8("\xCC\xE0\xF0\xE8\xEE"));
}

// Characters the code page lacks that have a plain form are spelled in it
// and counted as accents are; any other is still refused by name.
TEST(ExactConversion, PlainFormsAreSpelledAndCounted) {
    struct Case {
        const char* utf8;
        const char* cp1251;
        int changed;
    };
    const Case cases[] = {
        {"Ranma ½", "Ranma 1/2", 1},
        {"Puyo Puyo²", "Puyo Puyo2", 1},
        {"3×3 Eyes", "3x3 Eyes", 1},
        {"ＦＦ７ Ｖｅｒ．２", "FF7 Ver.2", 8},
        {"Ｓｈｉｎ　Ｍａｐ", "Shin Map", 8},
        {"Rocky Ⅳ ﬁnal ⅻ", "Rocky IV final xii", 3},
        {"x₂ ¼ ¾ ⅓ ¹³", "x2 1/4 3/4 1/3 13", 6},
        {"Pokémon Straße", "Pokemon Strasse", 2},
        {"Ёлка № 1", "\xA8\xEB\xEA\xE0 \xB9 1", 0},
    };
    for (const Case& c : cases) {
        int changed = 0;
        const ExactText converted = fromUtf8Unaccented(c.utf8, changed);
        EXPECT_EQ(converted.problem, "") << c.utf8;
        EXPECT_EQ(converted.text.bytes(), c.cp1251) << c.utf8;
        EXPECT_EQ(changed, c.changed) << c.utf8;
    }
    int changed = 0;
    EXPECT_NE(fromUtf8Unaccented("SDガンダム", changed).problem.find("«ガ» (U+30AC)"), std::string::npos);
    EXPECT_NE(fromUtf8Unaccented("Star ☆", changed).problem.find("«☆» (U+2606)"), std::string::npos);
    EXPECT_NE(fromUtf8Exactly("Ranma ½").problem.find("«½» (U+00BD)"), std::string::npos) << "typed text stays exact";
}

// A message shows every character as itself, except control characters
// and bytes that are not UTF-8, which would reach the terminal as commands.
TEST(ExactConversion, MessagesQuoteTextSafely) {
    const std::pair<std::string, const char*> cases[] = {
        {"Ranma ½ ガ Café", "Ranma ½ ガ Café"},
        {"Clear\x1B[2J", "Clear\\x1B[2J"},
        {"tab\tand\nline\x7F", "tab\\x09and\\x0Aline\\x7F"},
        {"C1 \xC2\x9B" "2J", "C1 \\xC2\\x9B2J"},
        {"\x89PNG", "\\x89PNG"},
        {std::string("NUL\0", 4), "NUL\\x00"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(printable(text), shown) << text;
    EXPECT_EQ(printable(std::string(70, 'a') + "\x1B", 60), std::string(60, 'a') + "…");
}

} // namespace
} // namespace gamarium::text
