#include "core/support/temp_folder.h"
#include "files/no_case_folder.h"
#include "text/cp1251.h"

#include <gtest/gtest.h>

#include <fstream>

namespace gamarium::files {
namespace {

using gamarium::testing::TempFolder;
namespace fs = std::filesystem;

TEST(NoCaseFolder, FindsWhatFindNoCaseFinds) {
    TempFolder folder;
    const std::string ya = text::fromUtf8("Я.htm");
    for (const std::string& name : {std::string("A.HTM"), std::string("b.htm"), std::string("c.htm"),
                                    std::string("C.htm"), ya})
        std::ofstream(folder.path() / toPath(name)) << name;
    const NoCaseFolder listed(folder.path());

    struct Case {
        std::string name;
        std::string found; // the entry's name, or the name asked for when there is none
    };
    const Case cases[] = {
        {"a.htm", "A.HTM"},
        {"A.HTM", "A.HTM"},
        {"B.HTM", "b.htm"},
        {"c.htm", "c.htm"}, // the exact name before one in another case
        {"C.htm", "C.htm"},
        {text::fromUtf8("я.HTM"), ya},
        {"d.htm", "d.htm"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listed.find(c.name), folder.path() / toPath(c.found)) << c.name;
        EXPECT_EQ(listed.holds(c.name), fs::exists(listed.find(c.name)) && !c.name.empty()) << c.name;
        if (c.name != "c.htm" && c.name != "C.htm") { // findNoCase may take either of the two
            EXPECT_EQ(listed.find(c.name), findNoCase(folder.path(), c.name)) << c.name;
        }
    }
}

TEST(NoCaseFolder, SeesOnlyTheEntriesItIsTold) {
    TempFolder folder;
    NoCaseFolder listed(folder.path());
    std::ofstream(folder.path() / "E.HTM") << "made behind its back";
    EXPECT_EQ(listed.find("e.htm"), folder.path() / "e.htm");
    EXPECT_FALSE(listed.holds("E.HTM"));

    std::ofstream(folder.path() / "F.htm") << "made and told";
    listed.add("F.htm");
    EXPECT_TRUE(listed.holds("f.htm"));
    EXPECT_EQ(listed.find("f.HTM"), folder.path() / "F.htm");
    listed.add("f.htm");
    EXPECT_EQ(listed.find("f.htm"), folder.path() / "f.htm") << "an exact name comes first";
    EXPECT_EQ(listed.find("F.HTM"), folder.path() / "F.htm") << "the first one told stays the match";
}

} // namespace
} // namespace gamarium::files
