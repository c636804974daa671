#include "core/pages/page_settings.h"
#include "core/pages/report_line.h"

#include <gtest/gtest.h>

namespace gamarium::pages {
namespace {

TEST(PagesSettings, TheOutputFolderStartsAsTheSystemWritesIt) {
#ifdef _WIN32
    EXPECT_EQ(defaultOutputFolder("d:/gamarium"), "c:\\site\\");
#else
    EXPECT_EQ(defaultOutputFolder("/home/me/gamarium").native(), "/home/me/gamarium/site/");
    EXPECT_EQ(defaultOutputFolder("/home/me/gamarium/").native(), "/home/me/gamarium/site/");
    EXPECT_EQ(defaultOutputFolder("/home/\xD1\x8F").native(), "/home/\xD1\x8F/site/") << "the system's bytes";
#endif
}

TEST(PagesSettings, TheWindowStartsWithTheseDefaults) {
    const PageSettings settings;
    EXPECT_EQ(settings.gamesPerPage, 11);
    EXPECT_EQ(settings.block.russianPatchPath, "../../patch/snes/");
    EXPECT_EQ(settings.block.otherPatchPath, "../../patch/snes/ext/");
    EXPECT_EQ(settings.block.imagePath, "i/");
}

TEST(PagesReportLine, CountsWrittenAndUnchangedPages) {
    struct Case {
        GenerationReport report;
        const char* line;
    };
    const Case cases[] = {
        {{.pagesWritten = 5, .pagesUnchanged = 0}, "Записано страниц: 5, без изменений: 0"},
        {{.pagesWritten = 0, .pagesUnchanged = 12}, "Записано страниц: 0, без изменений: 12"},
        {{.pagesWritten = 1, .pagesUnchanged = 3}, "Записано страниц: 1, без изменений: 3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reportLine(c.report), c.line);
}

} // namespace
} // namespace gamarium::pages
