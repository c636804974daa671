#include "core/error.h"
#include "core/text/exact_conversion.h"

#include <gtest/gtest.h>

namespace gamarium::text {
namespace {

// What a command's argument becomes in a table: exactly its characters,
// or a refusal that names the first one the code page has not.
TEST(ExactConversion, StoredTextsAreExactOrRefused) {
    EXPECT_EQ(toStoredText("Марио 64"), "\xCC\xE0\xF0\xE8\xEE 64");
    EXPECT_EQ(toStoredText("№ «ё»"), "\xB9 \xAB\xB8\xBB");
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

} // namespace
} // namespace gamarium::text
