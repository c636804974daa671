#include "pages/game_record.h"

#include "store/table.h"

namespace gamarium::pages {

GameRecord readGame(store::Table& games) {
    const auto text = [&](std::string_view field) { return games.fieldByName(field).asString(); };
    GameRecord game{
        .name = text("Name"),
        .region = text("Region"),
        .text1 = text("Text1"),
        .drname = text("Drname"),
        .analog = text("Analog"),
        .sid = text("Sid"),
        .image1 = text("Image1"),
        .publisher = text("Publisher"),
        .developer = text("Developer"),
        .year = text("Year"),
        .type = text("Type"),
        .genre = text("Genre"),
        .ngamers = text("Ngamers"),
        .size = text("Size"),
        .file = text("File"),
        .rating = text("Rating"),
        .patch = text("Patch"),
    };
    game.patchPosition = games.fieldByName("Patch").asInteger();
    game.ratingValue = games.fieldByName("Rating").asInteger();
    return game;
}

PatchRecord readPatch(store::Table& patches, std::int64_t position) {
    if (patches.isEmpty())
        return {};
    patches.moveToPosition(position);
    const auto text = [&](std::string_view field) { return patches.fieldByName(field).asString(); };
    return {
        .patch = text("Patch"),
        .size = text("Size"),
        .proc = text("Proc"),
        .language = text("Text"),
        .autor = text("Autor"),
        .year = text("Year"),
    };
}

bool isRussian(std::string_view language) {
    return language.size() >= 2 && language[1] == 'r';
}

} // namespace gamarium::pages
