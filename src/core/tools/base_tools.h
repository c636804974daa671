#pragma once

#include "core/files/files.h"
#include "core/tools/list_file.h"
#include "core/tools/picture_audit.h"
#include "core/tools/pictures_by_name.h"
#include "core/tools/rename.h"
#include "core/tools/status.h"

#include <string>
#include <string_view>

namespace gamarium::session {
class BaseSession;
}

// The whole-base tools as the editor's buttons and the command line run
// them on an open base: each once, from its restore point to its closing
// report, so that the two front ends only gather input and show results.
// `what` (UTF-8) names the restore point of a tool that changes the base;
// the point is taken only when the tool first writes.
namespace gamarium::tools {

// Gives every game its position as N; reports "Ренумерация завершена!".
void renumberBase(session::BaseSession& session, const std::string& what, const StatusSink& report);

// The three checks of the game table (checks.h).
enum class Check { Names, Pictures, PictureNames };
void checkBase(session::BaseSession& session, Check check, const StatusSink& report, const Progress& progress = {});

// Renames the current game (renameGame). The message about moved pictures
// goes to `notice` when the picture group changed; the line about copied
// pictures and renameEndLine() go to `report`.
RenameResult renameInBase(session::BaseSession& session, const text::StoredText& newName, const std::string& what,
                          const StatusSink& notice, const StatusSink& report);
// "Переименование закончено!": the rename's last line, also when none was given.
text::StoredText renameEndLine();

// The reduced picture set (makeLightSet).
void lightSetOfBase(session::BaseSession& session, const StatusSink& report, const Progress& progress = {});

// Merges a list file read with readListFile (mergeList); the records added.
int mergeIntoBase(session::BaseSession& session, const ListFile& list, const std::string& what,
                  const StatusSink& report, const Progress& progress = {});

// Audits the picture folders and reports what it found (reportAudit).
PictureAudit auditBase(session::BaseSession& session, const StatusSink& report, const Progress& progress = {});
// Moves the orphans the audit found into _orphans (moveOrphans).
int moveOrphansOfBase(session::BaseSession& session, const PictureAudit& audit, const std::string& what,
                      const StatusSink& report);

// Brings in the pictures of a collection (addPicturesByName) and reports
// the counts.
PicturesByNameCounts picturesByNameIntoBase(session::BaseSession& session, const files::Path& folder,
                                            const PicturesByNameOptions& options, const std::string& what,
                                            const StatusSink& report, const Progress& progress = {});

} // namespace gamarium::tools
