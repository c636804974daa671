#pragma once

#include "core/files/files.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/png_header.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace gamarium::pages {

// A program folder with the base "games" open, pictures under images/games/.
class SiteTest : public ::testing::Test {
protected:
    struct Game {
        std::string name;
        std::string sid;
        std::optional<int> patch = std::nullopt;
        std::string image1 = "";
        int number = 0; // N; 0: the position
    };

    SiteTest() {
        store::prepareFolders(home_.path());
        store::createBase(home_.path(), "games", false);
        store::makePictureFolder(home_.path(), "games");
        games_.open();
        patches_.open();
    }

    void add(const Game& game) {
        games_.append();
        games_.fieldByName("N").setAsInteger(game.number ? game.number : games_.recordCount() + 1);
        games_.fieldByName("Name").setAsString(text::StoredText::fromCp1251(game.name));
        games_.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(game.sid));
        games_.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(game.image1));
        if (game.patch)
            games_.fieldByName("Patch").setAsInteger(*game.patch);
        games_.post();
    }

    void addPatch(const std::string& name, const std::string& language) {
        patches_.append();
        patches_.fieldByName("N").setAsInteger(patches_.recordCount() + 1);
        patches_.fieldByName("Patch").setAsString(text::StoredText::fromCp1251(name));
        patches_.fieldByName("Text").setAsString(text::StoredText::fromCp1251(language));
        patches_.post();
    }

    // A PNG file whose header declares the size; the pixels are left out.
    void writePicture(const std::string& sid, const std::string& name, std::uint32_t width, std::uint32_t height) {
        writeFile(sid, name, gamarium::testing::pngHeader(width, height));
    }

    void writeFile(const std::string& sid, const std::string& name, const std::string& bytes) {
        const auto folder = home_.path() / "images" / "games" / sid;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    gamarium::testing::TempFolder home_;
    store::Table games_{home_.path() / "base", store::gameTableName("games")};
    store::Table patches_{home_.path() / "base", store::patchTableName("games")};
};

} // namespace gamarium::pages
