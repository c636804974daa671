#include "cli/tool_commands.h"

#include "cli/orphans_command.h"
#include "core/editor/quick_jump.h"
#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"
#include "core/tools/base_tools.h"

#include <algorithm>
#include <iterator>
#include <utility>

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
                   << text::printable(text::toUtf8(table.fieldByName("Name").asString()), std::string::npos) << '\n';
    return 0;
}

int renumber(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    tools::renumberBase(*session, invocation.what, statusOf(invocation));
    return 0;
}

int check(Invocation& invocation) {
    const std::string& which = invocation.words[0];
    const std::string& base = invocation.words[1];
    if (which == "orphans") return checkOrphans(invocation);
    if (invocation.flag("--move")) throw UsageError{"--move бывает только у check orphans"};
    const std::pair<const char*, tools::Check> checks[] = {
        {"names", tools::Check::Names}, {"pictures", tools::Check::Pictures}, {"picture-names", tools::Check::PictureNames}};
    const auto session = invocation.openBase(base);
    const auto* found = std::find_if(std::begin(checks), std::end(checks), [&](const auto& c) { return which == c.first; });
    if (found == std::end(checks)) throw UsageError{"нет проверки " + text::quoted(which)};
    tools::checkBase(*session, found->second, statusOf(invocation));
    return 0;
}

int rename(Invocation& invocation) {
    const std::string& base = invocation.words[0];
    const auto session = invocation.openBase(base);
    store::Table& table = session->games();
    table.moveToPosition(positionArgument(invocation.words[1], table));
    const tools::RenameResult result = tools::renameInBase(*session, text::toStoredText(invocation.words[2]),
                                                           invocation.what, statusOf(invocation), statusOf(invocation));
    invocation.status(tools::renameEndLine());
    const bool allMoved = std::all_of(result.pictures.begin(), result.pictures.end(),
                                      [](const tools::PictureMove& move) { return move.problem.empty(); });
    if (!allMoved) throw Error("игра переименована, но не все картинки перемещены");
    return 0;
}

int light(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    tools::lightSetOfBase(*session, statusOf(invocation));
    return 0;
}

int merge(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[0]);
    const tools::ListFile list =
        tools::readListFile(files::readFile(invocation.path(invocation.words[1]), kLargestTextFile));
    if (!list.text.empty()) invocation.status(list.text);
    tools::mergeIntoBase(*session, list, invocation.what, statusOf(invocation));
    return 0;
}

} // namespace gamarium::cli
