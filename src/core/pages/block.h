#pragma once

#include "core/files/files.h"
#include "core/pages/game_record.h"
#include "core/pages/messages.h"
#include "core/pages/picture_sizes.h"
#include "core/pictures/picture.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One game's block of a page: the block template with the game's
// placeholders filled ($Name, $Text, $Region, $Width, $Height, $Image,
// $Autor, $Genre, $Gamers, $Size, $Pfile, $Lfile, $Rating, $IRating,
// $Patch, in this order, each by replaceFirst). Other $-words stay.
namespace gamarium::pages {

// The site paths a block links to (Windows-1251), defaults as the window's.
struct BlockSettings {
    std::string russianPatchPath = "../../patch/snes/"; // patches into Russian
    std::string otherPatchPath = "../../patch/snes/ext/";
    std::string imagePath = "i/"; // the site folder of the picture folders
    // When set, what $Image gives instead of imagePath + Sid + "/" + Image1.
    std::function<std::string(const GameRecord&)> pictureLink;
};

// The block of `game`; `patch` is its patch record when it has one (else
// null), and `picture` the size of its first picture. Tells
// "!!!!!!!!!!!!!" for an Analog entry without a known region letter.
std::string renderBlock(std::string_view blockTemplate, const GameRecord& game, const PatchRecord* patch,
                        pictures::PictureSize picture, const BlockSettings& settings, const MessageSink& messages);

// What rendering the block of `game` tells, for a block that is not
// rendered because its page stands as it was.
void tellBlockMessages(const GameKeys& game, const MessageSink& messages);

// What one game's block is made of besides the game's own fields.
struct BlockInputs {
    std::int64_t position = 0;            // of the game, from 1
    const PatchRecord* patch = nullptr;   // its patch, if it has one
    pictures::PictureSize picture;
};

// Renders the games of one run. When a game's first picture is missing
// (or Image1 is empty) the previous game's size stands, 0 x 0 before any;
// a file whose header gives no size counts as 0 x 0.
class BlockRenderer {
public:
    // `games`, `patches` and `pictureSizes` are kept, not copied; the
    // picture sizes are being read in the order the blocks will be asked for.
    // `before` is the size that stands until a picture is found.
    BlockRenderer(const std::vector<GameKeys>& games, const std::vector<PatchRecord>& patches,
                  PictureSizes& pictureSizes, BlockSettings settings, MessageSink messages,
                  pictures::PictureSize before = {});

    // The inputs of the block of the game at `position`, the next one in
    // the order: its picture's size, or the last one found before it.
    BlockInputs next(std::int64_t position);
    // The block of `game`, the one the inputs were made for.
    std::string render(std::string_view blockTemplate, const BlockInputs& inputs, const GameRecord& game) const;
    // The block of `game` at `position`, the next one in the order.
    std::string addnames(std::string_view blockTemplate, std::int64_t position, const GameRecord& game);
    // The 1-based position of the last patch looked up; 0 before any.
    std::int64_t lastPatchPosition() const { return lastPatchPosition_; }
    const MessageSink& messages() const { return messages_; }

private:
    const std::vector<GameKeys>& games_;
    const std::vector<PatchRecord>& patches_;
    BlockSettings settings_;
    MessageSink messages_;
    PictureSizes& pictureSizes_;
    pictures::PictureSize picture_;
    std::int64_t lastPatchPosition_ = 0;
};

} // namespace gamarium::pages
