#include "core/pages/page_set.h"

#include <gtest/gtest.h>

namespace gamarium::pages {
namespace {

std::vector<std::int64_t> games(int count) {
    std::vector<std::int64_t> positions(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) positions[static_cast<std::size_t>(i)] = i + 1;
    return positions;
}

TEST(PagesPageSet, APageNameTwoSetsWouldTake) {
    using Kind = PageSet::Kind;
    struct Case {
        const char* what;
        std::vector<PageSet> sets;
        int gamesPerPage;
        const char* clash; // UTF-8; nullptr: none
    };
    const Case cases[] = {
        {"pages of their own", {{"a", games(30)}, {"b", games(1)}, {"ru", games(3), Kind::Russian}}, 11, nullptr},
        {"page 2 of a is the page of a2", {{"a", games(12)}, {"a2", games(1)}}, 11,
         "Страницу «a2.htm» записали бы и группа «a», и группа «a2». Страницы не созданы."},
        {"an empty last page counts", {{"a", games(11)}, {"a2", games(1)}}, 11,
         "Страницу «a2.htm» записали бы и группа «a», и группа «a2». Страницы не созданы."},
        {"a group keyed ru", {{"ru", games(1)}, {"ru", games(2), Kind::Russian}}, 11,
         "Страницу «ru.htm» записали бы и группа «ru», и страницы русских переводов «ru». Страницы не созданы."},
        {"a group keyed dejap", {{"dejap", games(1)}, {"dejap", games(2), Kind::OtherPatches}}, 11,
         "Страницу «dejap.htm» записали бы и группа «dejap», и страницы других патчей «dejap». Страницы не созданы."},
        {"page 2 of the Russian translations", {{"ru2", games(1)}, {"ru", games(3), Kind::Russian}}, 2,
         "Страницу «ru2.htm» записали бы и группа «ru2», и страницы русских переводов «ru». Страницы не созданы."},
        {"letter case does not tell files apart", {{"\xF0\xF3", games(1)}, {"\xD0\xD3", games(1)}}, 11,
         "Страницу «РУ.htm» записали бы и группа «ру», и группа «РУ». Страницы не созданы."},
    };
    for (const Case& c : cases) {
        std::vector<const PageSet*> sets;
        for (const PageSet& set : c.sets) sets.push_back(&set);
        const std::optional<std::string> clash = pageNameClash(sets, c.gamesPerPage);
        if (c.clash)
            EXPECT_EQ(clash, std::optional<std::string>(c.clash)) << c.what;
        else
            EXPECT_EQ(clash, std::nullopt) << c.what;
    }
}

} // namespace
} // namespace gamarium::pages
