#include "core/dat/base_import.h"

#include "core/session/base_session.h"

namespace gamarium::dat {

DatImportResult importIntoBase(session::BaseSession& session, const DatContents& contents, const std::string& what,
                               bool dryRun, const tools::ReportSink& report, const tools::Progress& progress) {
    const auto change = session.beginChange(what);
    const DatImportResult result = importDat(session.games(), contents, report, dryRun, progress);
    if (result.unaccented + result.cut + result.leftEmpty > 0) report(conversionsLine(result));
    report(countsLine(result, dryRun));
    return result;
}

} // namespace gamarium::dat
