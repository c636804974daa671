#include "core/store/catalogue.h"
#include "core/store/schema.h"
#include "core/support/cli_runner.h"
#include "core/support/paradox_writer.h"

#include <gtest/gtest.h>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::oldFieldsOf;
using gamarium::testing::OldRow;
using gamarium::testing::TempFolder;
using gamarium::testing::writeOldTable;
namespace fs = std::filesystem;

TEST(CliConvert, PrintsOneLinePerTableAndTheBaseOpensAfterwards) {
    TempFolder home;
    store::prepareFolders(home.path());
    const fs::path base = home.path() / "base";
    OldRow game(27, std::nullopt), patch(7, std::nullopt);
    game[0] = "1";
    game[2] = "Contra";
    game[17] = std::string(300, 'x'); // Text1, past the record
    patch[1] = "Rus";
    writeOldTable(base / "snes.db", oldFieldsOf(store::gameTableSchema()), {game, game});
    writeOldTable(base / "snes_patch.db", oldFieldsOf(store::patchTableSchema()), {patch});
    fs::remove(base / "snes.mb");

    EXPECT_EQ(cli(home, "list").out, "snes\n");
    EXPECT_EQ(cli(home, "export snes").exitCode, 1) << "an old table is no table of the program";
    const auto converted = cli(home, "convert snes");
    ASSERT_EQ(converted.exitCode, 0) << errorText(home);
    EXPECT_EQ(converted.out, "snes.db: записей 2, заменено символов 0, обрезано мемо 2\n"
                             "snes_patch.db: записей 1, заменено символов 0, обрезано мемо 0\n");
    EXPECT_EQ(cli(home, "export snes --patches").out, "N,Patch,Size,Proc,Text,Autor,Year\r\n,Rus,,,,,\r\n");

    const auto again = cli(home, "convert snes");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(errorText(home).find("не в старом формате"), std::string::npos) << errorText(home);
    EXPECT_EQ(cli(home, "convert").exitCode, 2);
    EXPECT_EQ(cli(home, "convert missing").exitCode, 1);
}

} // namespace
} // namespace gamarium
