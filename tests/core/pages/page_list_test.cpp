#include "core/pages/page_list.h"

#include <gtest/gtest.h>

namespace gamarium::pages {
namespace {

std::string link(const std::string& name, int page) {
    return "<a href=\"" + name + ".htm\"><b>" + std::to_string(page) + "</b></a>&nbsp;&nbsp;";
}

TEST(PagesPageList, NamesLinksAndTheCurrentPage) {
    EXPECT_EQ(pageName("a", 1), "a");
    EXPECT_EQ(pageName("a", 10), "a10");
    EXPECT_EQ(pageName("dejap", 2), "dejap2");

    const std::string links = pagelinks("ru", 3);
    EXPECT_EQ(links, link("ru", 1) + link("ru2", 2) + link("ru3", 3));
    EXPECT_EQ(pagelist(links, "ru", 1), "<b>[1]</b>&nbsp;&nbsp;" + link("ru2", 2) + link("ru3", 3));
    EXPECT_EQ(pagelist(links, "ru", 3), link("ru", 1) + link("ru2", 2) + "<b>[3]</b>&nbsp;&nbsp;");
}

TEST(PagesPageList, TwentyFivePagesBreakAfterTheTwentiethOnly) {
    std::string expected;
    for (int page = 1; page <= 25; ++page)
        expected += link(pageName("b", page), page) + (page == 20 ? "<br>" : "");
    EXPECT_EQ(pagelinks("b", 25), expected);
    // Page 2's link must not be taken for a part of page 20's or 21's.
    const std::string list = pagelist(expected, "b", 2);
    EXPECT_NE(list.find("<b>[2]</b>"), std::string::npos);
    EXPECT_NE(list.find(link("b20", 20)), std::string::npos);
    EXPECT_EQ(list.size(), expected.size() - link("b2", 2).size() + std::string("<b>[2]</b>&nbsp;&nbsp;").size());
}

TEST(PagesPageList, LetterListEntries) {
    EXPECT_EQ(letterlistEntry("a"), "<a href=\"a.htm\">A</a>&nbsp;&nbsp;");
    EXPECT_EQ(letterlistEntry("num"), "<a href=\"num.htm\">#</a>&nbsp;&nbsp;");
    EXPECT_EQ(letterlistEntry("32x"), "<a href=\"32x.htm\">32X</a>&nbsp;&nbsp;");
    EXPECT_EQ(letterlistEntry("\xFF"), "<a href=\"\xFF.htm\">\xDF</a>&nbsp;&nbsp;"); // я, Я
}

TEST(PagesPageList, HeadAndFootPlaceholders) {
    const PageTexts texts{.letterlist = "<L>", .curletter = "NUM", .pagelist = "<P>"};
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"$LETTERLIST $LETTER", "<L> NUM"},
        {"$letter $LetterList", "NUM <L>"},
        {"$PAGES|$pages|$Pages", "<P>|<P>|$Pages"},
        {"$LETTER $LETTER", "NUM $LETTER"},
        {"plain", "plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addnames1(c.text, texts), c.expected) << c.text;
}

} // namespace
} // namespace gamarium::pages
