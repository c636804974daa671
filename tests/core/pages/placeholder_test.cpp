#include "core/pages/placeholder.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

namespace gamarium::pages {
namespace {

TEST(PagesPlaceholder, FirstOccurrenceWhateverItsCase) {
    struct Case {
        std::string text;
        std::string placeholder;
        const char* value;
        std::string expected;
        bool found;
    };
    const Case cases[] = {
        {"<b>$Name</b>", "$Name", "Contra", "<b>Contra</b>", true},
        {"$NAME $name $Name", "$Name", "Contra", "Contra $name $Name", true},
        {"$naMe", "$Name", "", "", true},
        {"no placeholder", "$Name", "Contra", "no placeholder", false},
        {"$Nam", "$Name", "Contra", "$Nam", false},
        // Cyrillic before the placeholder: upper-casing keeps every position.
        {text::fromUtf8("ёлка $size").bytes(), "$Size", "12", text::fromUtf8("ёлка 12").bytes(), true},
        {"$IRating $Rating", "$Rating", "75", "$IRating 75", true},
        {"$$name", "$Name", "X", "$X", true},
        {"a $Na", "$Name", "X", "a $Na", false},
        {"a $", "$Name", "X", "a $", false},
        // A word that begins with a letter: either case of it starts a match.
        {text::fromUtf8("Ёж ЁЛКА ёлка").bytes(), text::fromUtf8("ёлка").bytes(), "x", text::fromUtf8("Ёж x ёлка").bytes(), true},
        {"xNAme", "name", "y", "xy", true},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(replaceFirst(text, c.placeholder, c.value), c.found) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

TEST(PagesPlaceholder, ReplaceallCatchesPiecesThatMeetAcrossAReplacement) {
    struct Case {
        const char* source;
        const char* find;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"a;b;c", ";", ",", "a,b,c"},
        {"x\r\ny\r", "\r", "<br>", "x<br>\ny<br>"},
        {"aabb", "ab", "a", "aa"},    // aabb, aab, aa
        {"ab", "ab", "xaby", "xaby"}, // a replacement holding the text: once
        {"abc", "", "x", "abc"},
        {"", "a", "b", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replaceall(c.source, c.find, c.replacement), c.expected) << c.source;
}

} // namespace
} // namespace gamarium::pages
