#pragma once

#include "core/dat/dat_game.h"
#include "core/tools/status.h"

#include <string>

namespace gamarium::store {
class Table;
}

// Filling a game table from a DAT and its metadata.
namespace gamarium::dat {

struct DatImportResult {
    int added = 0;      // new records
    int filled = 0;     // records that got a field they lacked
    int unchanged = 0;  // games whose record had every field already
    int unaccented = 0; // texts written without accents
    int cut = 0;        // texts cut to their field
    int leftEmpty = 0;  // fields left empty for a value the table cannot hold
    int skipped = 0;    // new games passed over: a name the table cannot hold, or neither name nor file
    int firstAdded = 0; // position of the first added record in the end, 0 when none
};

// Imports the games of `dat` into the game table. A game matches the first
// record whose File is its ROM's name, letter case aside, or else the first
// record without a File whose Name and Region are the game's; each record
// matches one game. A matched record gets only the fields it lacks; an
// unmatched game is inserted where its name belongs by an exact halving
// search in the name check's order, and the table is renumbered when N no
// longer follows the positions. Everything is one transaction: all of it is
// stored or none. A table that would hold more than 32,767 games is refused
// before any change. A game that would be added but whose name the table
// cannot hold, even spelled plain, or that has neither a name nor a file is
// passed over: it would come back as a new record each time. Every text
// written without accents or spelled plain, cut, or left out is reported
// (UTF-8 lines that show the DAT's own characters), as are games passed
// over and region words the region table lacks; with `dryRun` the changes
// are reported and nothing is written.
DatImportResult importDat(store::Table& games, const DatContents& dat, const tools::ReportSink& report,
                          bool dryRun = false, const tools::Progress& progress = {});

// "без диакритики: N, обрезано: M, оставлено пустым: K" (UTF-8).
std::string conversionsLine(const DatImportResult& result);

// "Добавлено: N, дополнено: M, без изменений: K", then ", пропущено: P"
// when games were passed over (UTF-8), after a dry run's word that nothing
// changed: the closing line of an import, in the style of the other tools'.
std::string countsLine(const DatImportResult& result, bool dryRun = false);

} // namespace gamarium::dat
