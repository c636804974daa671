#include "cli/tool_commands.h"

#include "cli/orphans_command.h"
#include "core/editor/quick_jump.h"
#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"
#include "core/tools/checks.h"
#include "core/tools/light.h"
#include "core/tools/merge.h"
#include "core/tools/rename.h"
#include "core/tools/renumber.h"

#include <algorithm>

namespace gamarium::cli {

namespace {

tools::StatusSink statusOf(const Invocation& invocation) {
    return [&invocation](const std::string& line) { invocation.status(line); };
}

} // namespace

int jump(Invocation& invocation) {
    store::Table& table = invocation.base().games();
    editor::quickJump(table, text::toStoredText(invocation.words[1]));
    invocation.out << table.recordNumber() << '\t'
                   << text::printable(text::toUtf8(table.fieldByName("Name").asString()), std::string::npos) << '\n';
    return 0;
}

int renumber(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    const auto change = base.beginChange(invocation.what);
    tools::renumber(base.games());
    invocation.status(text::fromUtf8("Ренумерация завершена!"));
    return 0;
}

int check(Invocation& invocation) {
    // The command table has checked the kind.
    const std::string& which = invocation.words[0];
    if (which == "orphans") return checkOrphans(invocation);
    session::BaseSession& base = invocation.base();
    if (which == "names")
        tools::checkNames(base.games(), statusOf(invocation));
    else if (which == "pictures")
        tools::checkPictures(base.games(), base.pictureRoot(), statusOf(invocation));
    else
        tools::checkPictureNames(base.games(), statusOf(invocation));
    return 0;
}

int rename(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    store::Table& table = base.games();
    table.moveToPosition(positionArgument(invocation.words[1], table));
    const auto change = base.beginChange(invocation.what);
    const tools::RenameResult result =
        tools::renameGame(table, base.pictureRoot(), text::toStoredText(invocation.words[2]), change.journal());
    if (result.oldSid != result.newSid) invocation.status(tools::movedPicturesMessage(result));
    if (const std::string copied = tools::copiedPicturesLine(result); !copied.empty()) invocation.status(copied);
    invocation.status(text::fromUtf8("Переименование закончено!"));
    const bool allMoved = std::all_of(result.pictures.begin(), result.pictures.end(),
                                      [](const tools::PictureMove& move) { return move.problem.empty(); });
    if (!allMoved) throw Error("игра переименована, но не все картинки перемещены");
    return 0;
}

int light(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    tools::makeLightSet(base.games(), base.pictureRoot(), statusOf(invocation));
    return 0;
}

int merge(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    const tools::ListFile list =
        tools::readListFile(files::readFile(invocation.path(invocation.words[1]), kLargestTextFile));
    if (!list.text.empty()) invocation.status(list.text);
    const auto change = base.beginChange(invocation.what);
    tools::mergeList(base.games(), list, statusOf(invocation));
    return 0;
}

} // namespace gamarium::cli
