#include "core/pages/picture_sizes.h"
#include "core/pages/site_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace gamarium::pages {
namespace {

using pictures::PictureSize;

class PagesPictureSizes : public SiteTest {
protected:
    PagesPictureSizes() {
        writePicture("a", "one.png", 100, 50);
        writePicture("a", "Two.PNG", 200, 150);
        add({.name = "One", .sid = "a", .image1 = "one.png"});
        add({.name = "Two", .sid = "A", .image1 = "two.png"});
        add({.name = "Missing", .sid = "a", .image1 = "three.png"});
        games = readGameKeys(games_);
    }

    std::vector<GameKeys> games;
};

TEST_F(PagesPictureSizes, AnswersInAnyOrderWhateverOrderTheyAreRead) {
    // Read 3, 1, 1, 2; asked 2, 3, 1, 1.
    PictureSizes read(home_.path(), "games", PictureSizes::Coverage::WholeBase);
    read.read(games, {3, 1, 1, 2});
    EXPECT_EQ(read.at(2), (PictureSize{200, 150})) << "Sid and name found whatever their letter case";
    EXPECT_EQ(read.at(3), std::nullopt);
    EXPECT_EQ(read.at(1), (PictureSize{100, 50}));
    EXPECT_EQ(read.at(1), (PictureSize{100, 50}));
}

TEST_F(PagesPictureSizes, AGameLeftOutOfTheOrderOrNotThereIsAnErrorNotAWait) {
    PictureSizes read(home_.path(), "games", PictureSizes::Coverage::WholeBase);
    read.read(games, {0, 1, 99});
    EXPECT_EQ(read.at(1), (PictureSize{100, 50}));
    EXPECT_THROW(read.at(2), std::logic_error);
    EXPECT_THROW(read.at(99), std::out_of_range);
}

TEST_F(PagesPictureSizes, GoingBeforeEverythingIsAskedForStopsTheReading) {
    std::vector<std::int64_t> order;
    for (int i = 0; i < 10000; ++i)
        order.push_back(i % 3 + 1);
    PictureSizes read(home_.path(), "games", PictureSizes::Coverage::WholeBase);
    read.read(games, order);
    EXPECT_EQ(read.at(1), (PictureSize{100, 50}));
}

} // namespace
} // namespace gamarium::pages
