// The Light set on a disk that fills up: the tool stops with a message
// naming the file, leaves no file cut short (nor its temporary) and the
// command ends with 1. The disk is a small tmpfs mounted inside the test's
// folder where the test may mount one; elsewhere the process's file size
// limit makes the same write fail.
#include "core/error.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/cli_runner.h"
#include "core/support/small_disk.h"
#include "core/tools/light.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>


namespace gamarium::tools {
namespace {

namespace fs = std::filesystem;
using gamarium::testing::SmallDisk;
using gamarium::testing::TempFolder;

TEST(LightOnAFullDisk, StopsNamingTheFileAndLeavesNoPartOfIt) {
    TempFolder home;
    store::createBase(home.path(), "k", false);
    {
        store::Table games(store::basesFolder(home.path()), store::gameTableName("k"));
        games.open();
        for (const char* sid : {"a", "b"}) {
            games.append();
            games.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(sid));
            games.fieldByName("Name").setAsString(text::StoredText::fromCp1251(std::string(sid) + " game"));
            games.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(std::string(sid) + ".png"));
            games.post();
        }
    }
    const fs::path root = home.path() / "images" / "k";
    for (const auto& [sid, size] : {std::pair{"a", 1000}, std::pair{"b", 300000}}) {
        fs::create_directories(root / sid);
        std::ofstream(root / sid / (std::string(sid) + ".png"), std::ios::binary) << std::string(size, 'p');
    }

    const SmallDisk disk(root / "light");
    std::cout << "full disk: " << disk.how() << '\n';
    store::Table games(store::basesFolder(home.path()), store::gameTableName("k"));
    games.open();
    try {
        makeLightSet(games, root, [](const text::StoredText&) {});
        ADD_FAILURE() << "the full disk went unnoticed";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("b.png"), std::string::npos) << e.what();
    }
    games.close();
    EXPECT_EQ(fs::file_size(root / "light" / "a" / "a.png"), 1000u) << "the copy made before stays";
    EXPECT_TRUE(fs::is_empty(root / "light" / "b")) << "no cut copy, no temporary file";

    const auto result = gamarium::testing::cli(home, "light k");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out.find("завершено"), std::string::npos) << result.out;
    EXPECT_NE(gamarium::testing::errorText(home).find("b.png"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(root / "light" / "b"));
}

} // namespace
} // namespace gamarium::tools
