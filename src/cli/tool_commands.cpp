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
    return [&invocation](const text::StoredText& line) { invocation.status(line); };
}

} // namespace

int jump(Invocation& invocation) {
    store::Table& table = invocation.base().games();
    editor::quickJump(table, text::toStoredText(invocation.words[1]).bytes());
    invocation.out << table.recordNumber() << '\t'
                   << text::printable(text::toUtf8(table.field(store::games::Name).asString()), std::string::npos) << '\n';
    return 0;
}

int renumber(Invocation& invocation) {
    tools::renumberBase(invocation.base(), invocation.what, statusOf(invocation));
    return 0;
}

int check(Invocation& invocation) {
    // The command table has checked the kind.
    const std::string& which = invocation.words[0];
    if (which == "orphans") return checkOrphans(invocation);
    const std::pair<const char*, tools::Check> checks[] = {
        {"names", tools::Check::Names}, {"pictures", tools::Check::Pictures}, {"picture-names", tools::Check::PictureNames}};
    const auto* found = std::find_if(std::begin(checks), std::end(checks), [&](const auto& c) { return which == c.first; });
    tools::checkBase(invocation.base(), found->second, statusOf(invocation));
    return 0;
}

int rename(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    store::Table& table = base.games();
    table.moveToPosition(positionArgument(invocation.words[1], table));
    const tools::RenameResult result = tools::renameInBase(base, text::toStoredText(invocation.words[2]),
                                                           invocation.what, statusOf(invocation), statusOf(invocation));
    invocation.status(tools::renameEndLine());
    const bool allMoved = std::all_of(result.pictures.begin(), result.pictures.end(),
                                      [](const tools::PictureMove& move) { return move.problem.empty(); });
    if (!allMoved) throw Error("игра переименована, но не все картинки перемещены");
    return 0;
}

int light(Invocation& invocation) {
    tools::lightSetOfBase(invocation.base(), statusOf(invocation));
    return 0;
}

int merge(Invocation& invocation) {
    const tools::ListFile list =
        tools::readListFile(files::readFile(invocation.path(invocation.words[1]), kLargestTextFile));
    if (!list.text.empty()) invocation.status(list.text);
    tools::mergeIntoBase(invocation.base(), list, invocation.what, statusOf(invocation));
    return 0;
}

} // namespace gamarium::cli
