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
    const auto session = invocation.openBase(invocation.words[0]);
    store::Table& table = session->games();
    editor::quickJump(table, text::toStoredText(invocation.words[1]));
    invocation.out << table.recordNumber() << '\t'
                   << text::printable(text::toUtf8(table.field(store::games::Name).asString()), std::string::npos) << '\n';
    return 0;
}

int renumber(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    const auto change = session->beginChange(invocation.what);
    tools::renumber(session->games());
    invocation.status(text::fromUtf8("Ренумерация завершена!"));
    return 0;
}

int check(Invocation& invocation) {
    const std::string& which = invocation.words[0];
    const std::string& base = invocation.words[1];
    if (which == "orphans") return checkOrphans(invocation);
    if (invocation.flag("--move")) throw UsageError{"--move бывает только у check orphans"};
    const auto session = invocation.openBase(base);
    store::Table& table = session->games();
    if (which == "names")
        tools::checkNames(table, statusOf(invocation));
    else if (which == "pictures")
        tools::checkPictures(table, session->pictureRoot(), statusOf(invocation));
    else if (which == "picture-names")
        tools::checkPictureNames(table, statusOf(invocation));
    else
        throw UsageError{"нет проверки " + text::quoted(which)};
    return 0;
}

int rename(Invocation& invocation) {
    const std::string& base = invocation.words[0];
    const auto session = invocation.openBase(base);
    store::Table& table = session->games();
    table.moveToPosition(positionArgument(invocation.words[1], table));
    const auto change = session->beginChange(invocation.what);
    const tools::RenameResult result =
        tools::renameGame(table, session->pictureRoot(), text::toStoredText(invocation.words[2]), change.journal());
    if (result.oldSid != result.newSid) invocation.status(tools::movedPicturesMessage(result));
    if (const std::string copied = tools::copiedPicturesLine(result); !copied.empty()) invocation.status(copied);
    invocation.status(text::fromUtf8("Переименование закончено!"));
    const bool allMoved = std::all_of(result.pictures.begin(), result.pictures.end(),
                                      [](const tools::PictureMove& move) { return move.problem.empty(); });
    if (!allMoved) throw Error("игра переименована, но не все картинки перемещены");
    return 0;
}

int light(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    store::Table& table = session->games();
    tools::makeLightSet(table, session->pictureRoot(), statusOf(invocation));
    return 0;
}

int merge(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    store::Table& table = session->games();
    const tools::ListFile list =
        tools::readListFile(files::readFile(invocation.path(invocation.words[1]), kLargestTextFile));
    if (!list.text.empty()) invocation.status(list.text);
    const auto change = session->beginChange(invocation.what);
    tools::mergeList(table, list, statusOf(invocation));
    return 0;
}

} // namespace gamarium::cli
