#include "core/error.h"
#include "core/pages/template_file.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace gamarium::pages {
namespace {

TEST(PagesTemplate, MarkerLinesSplitTheSections) {
    struct Case {
        const char* what;
        std::string file;
        const char* head;
        const char* block;
        const char* foot;
    };
    const Case cases[] = {
        {"three sections", "$B head\r\n<html>\r\n$B block\r\n<p>$Name</p>\r\n$B foot\r\n</html>\r\n", "<html>\r\n",
         "<p>$Name</p>\r\n", "</html>\r\n"},
        {"small marker, bare LF, no final line end", "$b\nH\n$bX\nB\n$b\nF", "H\r\n", "B\r\n", "F\r\n"},
        {"a space first is text", "$B\nH\n $B\n$B\nB\n", "H\r\n $B\r\n", "B\r\n", ""},
        {"two markers", "pre\n$B\nH\n$B\nB1\nB2\n", "pre\r\nH\r\n", "B1\r\nB2\r\n", ""},
        {"a fourth marker only disappears", "$B\nH\n$B\nB\n$B\nF1\n$B\nF2\n", "H\r\n", "B\r\n", "F1\r\nF2\r\n"},
        {"no marker", "a\r\nb", "a\r\nb\r\n", "", ""},
        {"empty lines stay", "$B\n\nH\n\n$B\n", "\r\nH\r\n\r\n", "", ""},
        {"lone CR ends a line", "$B\rH\r$B\rB\r", "H\r\n", "B\r\n", ""},
        {"too short for a marker", "$\n$Bx", "$\r\n", "", ""},
        {"empty file", "", "", "", ""},
        {"bytes kept", "$B\n\xC8\xEC\xFF $LETTER\n", "\xC8\xEC\xFF $LETTER\r\n", "", ""},
    };
    for (const Case& c : cases) {
        const PageTemplate t = parseTemplate(c.file);
        EXPECT_EQ(t.head, c.head) << c.what;
        EXPECT_EQ(t.block, c.block) << c.what;
        EXPECT_EQ(t.foot, c.foot) << c.what;
    }
}

TEST(PagesTemplate, LoadsAFileAndRefusesAMissingOne) {
    testing::TempFolder folder;
    const auto file = folder.path() / "snes.htd";
    std::ofstream(file, std::ios::binary) << "$B\nH\n$B\nB\n$B\nF\n";
    const PageTemplate t = loadTemplate(file);
    EXPECT_EQ(t.head + t.block + t.foot, "H\r\nB\r\nF\r\n");
    EXPECT_THROW(loadTemplate(folder.path() / "missing.htd"), Error);
}

} // namespace
} // namespace gamarium::pages
