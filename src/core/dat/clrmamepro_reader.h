#pragma once

#include "core/dat/clrmamepro_syntax.h"
#include "core/dat/dat_game.h"

#include <istream>
#include <optional>

// The clrmamepro text files: No-Intro DATs and the metadata files beside them.
namespace gamarium::dat {

// The game of a DAT block (`game`, `machine` or `resource` with a `name`),
// its first ROM giving the file name, size and CRC. Every ROM's size and CRC
// are checked; a damaged one throws DamagedDat.
std::optional<DatGame> gameOf(const ClrItem& block);

// Adds what a block says under the metadata keys (developer, publisher,
// releaseyear, genre, users) to the CRCs of its ROMs; returns whether it
// says anything. A value already known for a CRC stays. A damaged CRC
// throws DamagedDat.
bool addMetadataOf(const ClrItem& block, MetadataByCrc& metadata);

// Reads a whole clrmamepro text into `contents`: a block with metadata keys
// is metadata, a block that is a DAT game is a game unless it is metadata
// whose ROM has no file name (a game may carry metadata too). More than 32,767 games throw DamagedDat. `firstLine` is the
// file's line number of the stream's first line.
void readClrmamepro(std::istream& in, DatContents& contents, int firstLine = 1);

} // namespace gamarium::dat
