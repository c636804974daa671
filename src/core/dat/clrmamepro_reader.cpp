#include "dat/clrmamepro_reader.h"

#include "dat/rom_fields.h"

namespace gamarium::dat {
namespace {

bool isGameBlock(const ClrItem& block) {
    return block.key == "game" || block.key == "machine" || block.key == "resource";
}

// The CRCs of the block's ROMs, each checked.
std::vector<std::uint32_t> romCrcs(const ClrItem& block) {
    std::vector<std::uint32_t> crcs;
    for (const ClrItem& rom : block.items)
        if (rom.block && rom.key == "rom")
            for (const ClrItem& item : rom.items)
                if (!item.block && item.key == "crc") crcs.push_back(romCrc(item.value, item.line));
    return crcs;
}

// Gives `known` the values it lacks that `said` has.
void fillUnset(Metadata& known, Metadata said) {
    for (auto [to, from] : {std::pair{&known.developer, &said.developer}, {&known.publisher, &said.publisher},
                            {&known.releaseYear, &said.releaseYear}, {&known.genre, &said.genre},
                            {&known.users, &said.users}})
        if (!*to && *from) *to = std::move(*from);
}

} // namespace

std::optional<DatGame> gameOf(const ClrItem& block) {
    if (!isGameBlock(block)) return std::nullopt;
    DatGame game;
    game.line = block.line;
    bool named = false;
    bool firstRom = true;
    for (const ClrItem& item : block.items) {
        if (item.block && item.key == "rom") {
            for (const ClrItem& field : item.items) {
                if (field.block) continue;
                if (field.key == "size") {
                    const std::uint64_t size = romSize(field.value, field.line);
                    if (firstRom) game.romSize = size;
                } else if (field.key == "crc") {
                    const std::uint32_t crc = romCrc(field.value, field.line);
                    if (firstRom) game.crc = crc;
                } else if (field.key == "name" && firstRom) {
                    game.romName = field.value;
                }
            }
            firstRom = false;
        } else if (!item.block && item.key == "name") {
            game.name = item.value;
            named = true;
        } else if (!item.block && item.key == "region") {
            game.region = item.value;
        }
    }
    if (!named) return std::nullopt;
    return game;
}

bool addMetadataOf(const ClrItem& block, MetadataByCrc& metadata) {
    if (!isGameBlock(block)) return false;
    Metadata said;
    bool says = false;
    for (const ClrItem& item : block.items) {
        if (item.block) continue;
        std::optional<std::string>* value = item.key == "developer"     ? &said.developer
                                            : item.key == "publisher"   ? &said.publisher
                                            : item.key == "releaseyear" ? &said.releaseYear
                                            : item.key == "genre"       ? &said.genre
                                            : item.key == "users"       ? &said.users
                                                                        : nullptr;
        if (value && !*value) {
            *value = item.value;
            says = true;
        }
    }
    if (!says) return false;
    const std::vector<std::uint32_t> crcs = romCrcs(block);
    for (std::size_t i = 0; i < crcs.size(); ++i)
        fillUnset(metadata[crcs[i]], i + 1 == crcs.size() ? std::move(said) : said);
    return true;
}

void readClrmamepro(std::istream& in, DatContents& contents, int firstLine) {
    readClrmameproBlocks(in, firstLine, [&](const ClrItem& block) {
        const bool says = addMetadataOf(block, contents.metadata);
        if (says) ++contents.metadataEntries;
        // A metadata entry may carry a name too; only its ROM has no file name.
        std::optional<DatGame> game = gameOf(block);
        if (!game || (says && game->romName.empty())) return;
        if (contents.games.size() >= kMostGames)
            throw DamagedDat(block.line, "игр больше " + std::to_string(kMostGames) + ", столько не вместит таблица");
        contents.games.push_back(std::move(*game));
    });
}

} // namespace gamarium::dat
