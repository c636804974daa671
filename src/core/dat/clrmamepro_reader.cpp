#include "core/dat/clrmamepro_reader.h"

#include "core/dat/rom_fields.h"

namespace gamarium::dat {
namespace {

using namespace std::string_view_literals;

bool isGameBlock(const ClrItem& block) {
    return block.key == "game"sv || block.key == "machine"sv || block.key == "resource"sv;
}

// Visits the CRC of each of the block's ROMs, each checked.
template <typename Visit>
void forEachRomCrc(const ClrItem& block, Visit visit) {
    for (const ClrItem& rom : block.items)
        if (rom.block && rom.key == "rom"sv)
            for (const ClrItem& item : rom.items)
                if (!item.block && item.key == "crc"sv) visit(romCrc(item.value, item.line));
}

} // namespace

std::optional<DatGame> gameOf(const ClrItem& block) {
    if (!isGameBlock(block)) return std::nullopt;
    DatGame game;
    game.line = block.line;
    bool named = false;
    bool firstRom = true;
    for (const ClrItem& item : block.items) {
        if (item.block && item.key == "rom"sv) {
            for (const ClrItem& field : item.items) {
                if (field.block) continue;
                if (field.key == "size"sv) {
                    const std::uint64_t size = romSize(field.value, field.line);
                    if (firstRom) game.romSize = size;
                } else if (field.key == "crc"sv) {
                    const std::uint32_t crc = romCrc(field.value, field.line);
                    if (firstRom) game.crc = crc;
                } else if (field.key == "name"sv && firstRom) {
                    game.romName = field.value;
                }
            }
            firstRom = false;
        } else if (!item.block && item.key == "name"sv) {
            game.name = item.value;
            named = true;
        } else if (!item.block && item.key == "region"sv) {
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
        std::optional<std::string>* value = item.key == "developer"sv     ? &said.developer
                                            : item.key == "publisher"sv   ? &said.publisher
                                            : item.key == "releaseyear"sv ? &said.releaseYear
                                            : item.key == "genre"sv       ? &said.genre
                                            : item.key == "users"sv       ? &said.users
                                                                        : nullptr;
        if (value && !*value) {
            *value = item.value;
            says = true;
        }
    }
    if (!says) return false;
    forEachRomCrc(block, [&](std::uint32_t crc) { metadata.fill(crc, said); });
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
