#pragma once

#include "core/dat/dat_game.h"

#include <istream>

// Logiqx XML DATs: <datafile><game name="…"><rom name=… size=… crc=…/>
// </game></datafile>, `machine` in place of `game` too.
namespace gamarium::dat {

// Reads the XML as a stream (expat), so that a large DAT takes little
// memory, and adds its games to `contents`: each `game` or `machine` child
// of the root with a name, its first ROM giving the file name, size and
// CRC, its region from a `region` attribute or its first `release`, its
// `year` as the release year of its ROMs' CRCs (metadata, as clrmamepro's
// releaseyear). A name or value with a NUL byte or a control character, XML
// that is not well-formed, a damaged size or CRC, or more than 32,767 games
// throw DamagedDat with the line. `firstLine` is the file's line number of
// the stream's first line.
void readLogiqx(std::istream& in, DatContents& contents, int firstLine = 1);

} // namespace gamarium::dat
