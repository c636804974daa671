#pragma once

#include "core/dat/dat_import.h"

#include <string>

namespace gamarium::session {
class BaseSession;
}

namespace gamarium::dat {

// Imports DAT files read with readDatFiles into the base's game table
// (importDat) as the editor and the command line both run it, under the
// restore point `what` (UTF-8; taken only when something is written), and
// reports the conversions, a dry run and the counts.
DatImportResult importIntoBase(session::BaseSession& session, const DatContents& contents, const std::string& what,
                               bool dryRun, const tools::ReportSink& report, const tools::Progress& progress = {});

} // namespace gamarium::dat
