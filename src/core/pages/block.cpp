#include "core/pages/block.h"

#include "core/pages/analog.h"
#include "core/pages/placeholder.h"
#include "core/pages/page_text.h"

#include <algorithm>
#include <cstddef>

namespace gamarium::pages {
namespace {


// Each region letter takes a flag three characters wide beside the name,
// so the room for the name shrinks by three a letter.
std::ptrdiff_t nameRoom(const GameRecord& game) {
    return 55 - 3 * static_cast<std::ptrdiff_t>(game.region.size());
}

bool nameTooLong(const GameRecord& game) {
    return static_cast<std::ptrdiff_t>(game.name.size()) > nameRoom(game);
}

std::string shownName(const GameRecord& game) {
    if (!nameTooLong(game))
        return game.name;
    const auto keep = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, nameRoom(game) - 3));
    return game.name.substr(0, keep) + "...";
}

std::string description(const GameRecord& game, const MessageSink& messages) {
    std::string value = game.text1;
    if (nameTooLong(game))
        value = pageText("Полное название РОМа:<br><b>") + game.name + "</b><br><br>" + value;
    value = replaceall(value, "\r", "<br>");
    if (game.drname.find(';') != std::string::npos)
        value += pageText("<br><br>Другие названия игры - <b>") + replaceall(game.drname, ";", ",") + "</b>";
    else if (!game.drname.empty())
        value += pageText("<br><br>По-другому эта игра называлась <b>") + game.drname + "</b>";
    if (!game.analog.empty())
        value += addnames2(game.analog, messages);
    return value;
}

std::string flags(const GameRecord& game) {
    std::string value = "<td align=\"right\">";
    for (const char letter : game.region)
        value += "&nbsp<img src=\"" + std::string(1, letter) + ".gif\" width=\"27\" height=\"21\" align=\"absmiddle\">";
    return value + "</td>";
}

// A large picture is shown at half its size, each side on its own.
std::string shownSide(int side, int limit) {
    return std::to_string(side <= limit ? side : side / 2);
}

std::string copyright(const GameRecord& game, const PatchRecord* patch) {
    std::string value = "&copy; " + game.publisher;
    if (!game.developer.empty())
        value += ", " + game.developer;
    value += ", " + game.year + "<br>";
    if (patch)
        value += "&copy; " + patch->autor + ", " + patch->year + "<br>";
    return value;
}

std::string genre(const GameRecord& game) {
    return game.genre.empty() ? game.type : game.type + ", " + game.genre;
}

// The rating bar: 120 pixels split at the rating's share; without a rating
// both parts are 36 pixels, as the site has always shown it.
std::string ratingBar(const GameRecord& game) {
    std::int64_t filled = 36, rest = 36;
    if (!game.rating.empty()) {
        filled = std::clamp<std::int64_t>(6 * game.ratingValue / 5, 0, 120);
        rest = 120 - filled;
    }
    const std::string edge = "<img src=\"rv.gif\" width=\"1\" height=\"12\">";
    return edge + "<img src=\"rt1.gif\" width=\"" + std::to_string(filled) + "\" height=\"12\">" +
           "<img src=\"rt2.gif\" width=\"" + std::to_string(rest) + "\" height=\"12\">" + edge;
}

std::string patchParagraph(const PatchRecord* patch, const BlockSettings& settings) {
    if (!patch)
        return {};
    const std::string& path = isRussian(patch->language) ? settings.russianPatchPath : settings.otherPatchPath;
    std::string value = "<p><a href=\"" + path + patch->patch + "\">" + "<img src=\"t" + patch->language +
                        ".gif\" width=\"65\" height=\"21\" align=\"absmiddle\" border=\"0\"></a>" + "<b> ( " +
                        patch->size + pageText(" Кб )</b>");
    if (patch->proc != "100")
        value += " - " + patch->proc + "%";
    return value + "</p>";
}

} // namespace

std::string renderBlock(std::string_view blockTemplate, const GameRecord& game, const PatchRecord* patch,
                        pictures::PictureSize picture, const BlockSettings& settings, const MessageSink& messages) {
    std::string working(blockTemplate);
    const auto fill = [&](std::string_view placeholder, const std::string& value) {
        replaceFirst(working, placeholder, value);
    };
    // Every value is made even when its placeholder is absent, so the
    // messages of $Text come whatever the template holds.
    fill("$Name", shownName(game));
    fill("$Text", description(game, messages));
    fill("$Region", flags(game));
    fill("$Width", shownSide(picture.width, 400));
    fill("$Height", shownSide(picture.height, 300));
    fill("$Image", settings.pictureLink ? settings.pictureLink(game) : settings.imagePath + game.sid + "/" + game.image1);
    fill("$Autor", copyright(game, patch));
    fill("$Genre", genre(game));
    fill("$Gamers", game.ngamers);
    fill("$Size", game.size);
    fill("$Pfile", game.file.empty() ? "../../disk.htm" : game.file);
    fill("$Lfile", game.file.empty() ? "d" : "s");
    fill("$Rating", game.rating.empty() ? "--" : game.rating);
    fill("$IRating", ratingBar(game));
    fill("$Patch", patchParagraph(patch, settings));
    return working;
}

void tellBlockMessages(const GameKeys& game, const MessageSink& messages) {
    if (!game.analog.empty())
        addnames2(game.analog, messages);
}

BlockRenderer::BlockRenderer(const std::vector<GameKeys>& games, const std::vector<PatchRecord>& patches,
                             PictureSizes& pictureSizes, BlockSettings settings, MessageSink messages,
                             pictures::PictureSize before)
    : games_(games), patches_(patches), settings_(std::move(settings)), messages_(std::move(messages)),
      pictureSizes_(pictureSizes), picture_(before) {}

BlockInputs BlockRenderer::next(std::int64_t position) {
    if (const auto size = pictureSizes_.at(position))
        picture_ = *size;
    BlockInputs inputs{.position = position, .patch = nullptr, .picture = picture_};
    const GameKeys& game = games_.at(static_cast<std::size_t>(position - 1));
    if (game.hasPatch) {
        inputs.patch = &patchAt(patches_, game.patchPosition);
        lastPatchPosition_ = game.patchPosition;
    }
    return inputs;
}

std::string BlockRenderer::render(std::string_view blockTemplate, const BlockInputs& inputs,
                                  const GameRecord& game) const {
    return renderBlock(blockTemplate, game, inputs.patch, inputs.picture, settings_, messages_);
}

std::string BlockRenderer::addnames(std::string_view blockTemplate, std::int64_t position, const GameRecord& game) {
    return render(blockTemplate, next(position), game);
}

} // namespace gamarium::pages
