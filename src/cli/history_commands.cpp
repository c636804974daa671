#include "cli/history_commands.h"

#include "cli/options.h"
#include "core/error.h"
#include "core/history/point_store.h"
#include "core/store/catalogue.h"
#include "core/text/exact_conversion.h"

#include <charconv>

namespace gamarium::cli {
namespace {

std::string countOf(const history::TableInPoint& table) {
    return table.kind == history::TableInPoint::Kind::Copied ? std::to_string(table.records) : "-";
}

} // namespace

// WHAT stays the command's own words as point.txt keeps them, to be typed
// again or matched by a script; the windows show history::describeAction.
int listPoints(Invocation& invocation) {
    const std::string base = text::toStoredText(invocation.words[0]).bytes();
    const history::PointStore points(invocation.home, base);
    const std::vector<history::Point> all = points.points();
    const std::vector<int> damaged = points.damagedPoints();
    if (all.empty() && damaged.empty() && !store::baseExists(invocation.home, base))
        throw Error("нет базы «" + invocation.words[0] + "»; их список показывает команда list");
    for (auto point = all.rbegin(); point != all.rend(); ++point)
        invocation.out << point->id << '\t' << history::localTimeText(point->time) << '\t' << point->what << '\t'
                       << countOf(point->games) << '\t' << countOf(point->patches) << '\n';
    for (const int id : damaged)
        invocation.err << "gamarium-cli: " << points.damagedText(id) << " Она не показана выше и не восстанавливается.\n";
    return 0;
}

int restorePoint(Invocation& invocation) {
    const std::string& word = invocation.words[1];
    int id = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), id);
    if (ec != std::errc() || end != word.data() + word.size() || id <= 0)
        throw Error("нет точки восстановления «" + word + "»; их номера показывает команда history");
    const bool dryRun = invocation.isSet(options::DryRun);
    const history::RestoreReport report = invocation.base().restore(id, dryRun, invocation.what);
    if (dryRun) invocation.out << "пробный прогон, ничего не изменено; восстановление сделало бы вот что:\n";
    for (const std::string& line : report.lines) invocation.out << line << '\n';
    if (!report.complete) throw Error("не всё удалось вернуть: оставленные файлы перечислены выше");
    return 0;
}

} // namespace gamarium::cli
