#pragma once

#include "core/dat/dat_game.h"
#include "core/files/files.h"

#include <istream>
#include <vector>

// The files given to an import, each told apart by its content.
namespace gamarium::dat {

// Adds a file's games and metadata to `contents`: XML when its first
// character (after a byte order mark and white space) is "<", else
// clrmamepro text.
void readDatStream(std::istream& in, DatContents& contents);

// The games of the first file that holds games (the DAT) and the metadata of
// every file. A missing file, a folder, a file that cannot be opened or
// read, a damaged file (a binary one among them), a second DAT, or a file
// that holds neither games nor metadata refuses the whole set: the error
// names the file by its whole path, and for a damaged one the line and
// reason.
// So does a set of metadata files alone.
DatContents readDatFiles(const std::vector<files::Path>& paths);

} // namespace gamarium::dat
