#include "core/error.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace gamarium::session {
namespace {

namespace fs = std::filesystem;

// Tables by the lower-cased base name, pictures by the name as given.
TEST(BaseSessionTest, OpensBothTablesAndNamesThePictureFolders) {
    testing::TempFolder home;
    store::createBase(home.path(), "snes", false);
    fs::create_directories(home.path() / "images" / "SNES" / "a");
    BaseSession session(home.path(), "SNES");
    EXPECT_TRUE(session.games().isOpen());
    EXPECT_TRUE(session.patches().isOpen());
    EXPECT_EQ(session.baseName(), "SNES");
    EXPECT_EQ(session.pictureRoot(), home.path() / "images" / "SNES");
    EXPECT_EQ(session.pictureFolder("A"_stored), home.path() / "images" / "SNES" / "a") << "found whatever the letter case";
    EXPECT_EQ(session.pictureFolder("b"_stored), home.path() / "images" / "SNES" / "b");
}

// A base one of whose tables cannot be opened holds neither.
TEST(BaseSessionTest, ATableThatCannotBeOpenedLeavesNothingHeld) {
    testing::TempFolder home;
    store::createBase(home.path(), "snes", false);
    {
        store::Table held(store::basesFolder(home.path()), "snes_patch.db");
        held.open();
        EXPECT_THROW(BaseSession(home.path(), "snes"), Error);
    }
    store::Table games(store::basesFolder(home.path()), "snes.db");
    EXPECT_NO_THROW(games.open()) << "the game table was let go";
    EXPECT_THROW(BaseSession(home.path(), "../snes"), Error) << "the name is checked";
}

} // namespace
} // namespace gamarium::session
