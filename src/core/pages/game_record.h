#pragma once

#include "core/store/record_fields.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gamarium::store {
class Field;
class Table;
}

// The fields a page shows, read as texts (Windows-1251) from the records of
// the game table and the patch table. A null field reads as the empty text,
// an integer in decimal.
namespace gamarium::pages {

// What places a game on the pages, finds its picture and its patch, and
// what its block tells even when the block is not made: the part of a game
// a run holds for every game.
struct GameKeys {
    std::string sid, image1, analog;
    std::int64_t patchPosition = 0; // 1-based place of its patch in the patch table
    std::int64_t ratingValue = 0;
    bool hasPatch = false; // the Patch field is not empty
};

// The whole game, as its block shows it.
struct GameRecord : GameKeys {
    std::string name, region, text1, drname;
    std::string publisher, developer, year, type, genre, ngamers, size, file, rating, patch;
};

struct PatchRecord {
    std::string patch, size, proc, language, autor, year;
};

// The text members of the records, each with the field it is read from.
template <typename Record>
using TextFields = std::vector<std::pair<store::FieldKey, std::string Record::*>>;
const TextFields<GameRecord>& gameTextFields();
const TextFields<PatchRecord>& patchTextFields();

// Every record of the table in table order, read in one pass.
std::vector<GameRecord> readGames(store::Table& games);
std::vector<PatchRecord> readPatches(store::Table& patches);
// The whole records at the 1-based `positions`, in their order, read
// without moving the table: one by one when they are few, else in one pass.
std::vector<GameRecord> readGamesAt(store::Table& games, const std::vector<std::int64_t>& positions);
// The same pass over the keys of every game.
std::vector<GameKeys> readGameKeys(store::Table& games);

// Fills a game's keys from the stored values of the fields `names`
// (Table::forEachStoredRecord), which hold Sid, Image1, Analog, Patch and
// Rating.
class GameKeyReader {
public:
    GameKeyReader(store::Table& games, const std::vector<store::FieldKey>& names);
    void read(std::span<const std::string_view> stored, GameKeys& game) const;
    // Only what the game's texts do not say: the patch's position, the
    // rating, and whether there is a patch.
    void readNumbers(std::span<const std::string_view> stored, GameKeys& game) const;

private:
    const store::Field& patch_;
    const store::Field& rating_;
    std::size_t sid_ = 0, image1_ = 0, analog_ = 0, patchAt_ = 0, ratingAt_ = 0;
};

// The patch at `position`, counting from 1; a position before the first or
// beyond the last names the first or the last patch, as moving the patch
// table there would. Without patches, a patch whose fields are all empty.
const PatchRecord& patchAt(const std::vector<PatchRecord>& patches, std::int64_t position);

// A language code whose second letter is "r" marks a Russian translation.
bool isRussian(std::string_view language);

} // namespace gamarium::pages
