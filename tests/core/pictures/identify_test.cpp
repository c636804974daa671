#include "core/pictures/picture_files.h"
#include "core/support/run_command.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>


// gamarium-cli identify: one line per file, in the order given, with the
// decoded size or the reason; exit status 1 when any file failed.
namespace gamarium::pictures {
namespace {

using gamarium::testing::CommandResult;
using gamarium::testing::picturePath;
using gamarium::testing::runCommand;
using gamarium::testing::readBytes;
using gamarium::testing::TempFolder;
using gamarium::testing::writeBytes;

CommandResult identify(const std::string& arguments) {
    return runCommand(std::string(GAMARIUM_CLI) + " identify " + arguments + " 2>/dev/null");
}

TEST(IdentifyCommand, PrintsSizesOrReasonsInOrder) {
    TempFolder folder;
    const std::string cyrillic = (folder.path() / "обложка.PNG").string();
    writeBytes(cyrillic, readBytes(picturePath("quad.png")));
    const std::string pcd = picturePath("quad.pcd").string();
    const std::string gif = (folder.path() / "anim.gif").string();
    writeBytes(gif, readBytes(picturePath("quad.png")));
    const std::string cut = (folder.path() / "cut.jpg").string();
    const auto jpeg = readBytes(picturePath("quad.jpg"));
    writeBytes(cut, {jpeg.begin(), jpeg.begin() + 100});

    const CommandResult good = identify("'" + cyrillic + "' '" + pcd + "'");
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, cyrillic + "\t32\t24\n" + pcd + "\t768\t512\n");

    const CommandResult mixed = identify("'" + gif + "' '" + cyrillic + "' '" + cut + "'");
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_EQ(mixed.out, gif + "\terror: not a picture file extension\n" + cyrillic + "\t32\t24\n" + cut +
                             "\terror: damaged JPEG file: Premature end of JPEG file\n");
}

} // namespace
} // namespace gamarium::pictures
