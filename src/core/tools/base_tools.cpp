#include "core/tools/base_tools.h"

#include "core/session/base_session.h"
#include "core/text/cp1251.h"
#include "core/tools/checks.h"
#include "core/tools/light.h"
#include "core/tools/merge.h"
#include "core/tools/renumber.h"

namespace gamarium::tools {

void renumberBase(session::BaseSession& session, const std::string& what, const StatusSink& report) {
    const auto change = session.beginChange(what);
    renumber(session.games());
    report(text::fromUtf8("Ренумерация завершена!"));
}

void checkBase(session::BaseSession& session, Check check, const StatusSink& report, const Progress& progress) {
    switch (check) {
    case Check::Names:
        checkNames(session.games(), report, progress);
        break;
    case Check::Pictures:
        checkPictures(session.games(), session.pictureRoot(), report, progress);
        break;
    case Check::PictureNames:
        checkPictureNames(session.games(), report, progress);
        break;
    }
}

RenameResult renameInBase(session::BaseSession& session, const text::StoredText& newName, const std::string& what,
                          const StatusSink& notice, const StatusSink& report) {
    const auto change = session.beginChange(what);
    const RenameResult result = renameGame(session.games(), session.pictureRoot(), newName, change.journal());
    if (result.oldSid != result.newSid) notice(movedPicturesMessage(result));
    if (const text::StoredText copied = copiedPicturesLine(result); !copied.empty()) report(copied);
    return result;
}

text::StoredText renameEndLine() {
    return text::fromUtf8("Переименование закончено!");
}

void lightSetOfBase(session::BaseSession& session, const StatusSink& report, const Progress& progress) {
    makeLightSet(session.games(), session.pictureRoot(), report, progress);
}

int mergeIntoBase(session::BaseSession& session, const ListFile& list, const std::string& what,
                  const StatusSink& report, const Progress& progress) {
    const auto change = session.beginChange(what);
    return mergeList(session.games(), list, report, progress);
}

PictureAudit auditBase(session::BaseSession& session, const StatusSink& report, const Progress& progress) {
    PictureAudit audit = auditPictures(session.games(), session.pictureRoot(), progress);
    reportAudit(audit, report);
    return audit;
}

int moveOrphansOfBase(session::BaseSession& session, const PictureAudit& audit, const std::string& what,
                      const StatusSink& report) {
    const auto change = session.beginChange(what);
    return moveOrphans(audit, session.pictureRoot(), change.journal(), report);
}

PicturesByNameCounts picturesByNameIntoBase(session::BaseSession& session, const files::Path& folder,
                                            const PicturesByNameOptions& options, const std::string& what,
                                            const StatusSink& report, const Progress& progress) {
    // A dry run, or a run that finds nothing new, takes no point.
    const auto change = session.beginChange(what);
    const PicturesByNameCounts counts = addPicturesByName(session.games(), session.pictureRoot(), folder, options,
                                                          change.journal(), report, progress);
    report(countsLine(counts, options.dryRun));
    return counts;
}

} // namespace gamarium::tools
