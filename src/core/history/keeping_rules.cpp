#include "core/history/keeping_rules.h"

#include "core/error.h"
#include "core/history/picture_journal.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <string_view>

namespace gamarium::history {
namespace {

constexpr std::int64_t kSecondsADay = 24 * 60 * 60;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

} // namespace

KeepingRules readKeepingRules(const files::Path& settingsFile) {
    KeepingRules rules;
    if (!files::fileExists(settingsFile)) return rules;
    const std::string content = files::readFile(settingsFile, 1 << 20);
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= content.size(); ++lineNumber) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        const std::string_view line = trimmed(std::string_view(content).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : trimmed(line.substr(equals + 1));
        int number = -1;
        const auto [rest, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        const bool whole = ec == std::errc() && rest == value.data() + value.size() && !value.empty();
        int* target = key == "points" ? &rules.points : key == "days" ? &rules.days : key == "size" ? &rules.sizeFactor : nullptr;
        const int least = key == "days" ? 0 : 1;
        if (!target || !whole || number < least)
            throw Error("Файл настроек точек восстановления «" + shownPath({}, settingsFile) + "», строка " +
                        std::to_string(lineNumber + 1) + ": ожидается points=ЧИСЛО, days=ЧИСЛО или size=ЧИСЛО.");
        *target = number;
    }
    return rules;
}

RemovedPoints pointsToRemove(std::vector<KeptPoint> points, std::uintmax_t tablesSize, const KeepingRules& rules,
                             std::int64_t now) {
    std::sort(points.begin(), points.end(), [](const KeptPoint& a, const KeptPoint& b) { return a.id < b.id; });
    RemovedPoints removed;
    std::vector<KeptPoint> kept;
    const std::size_t lastOnes = static_cast<std::size_t>(rules.points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool recent = points.size() - i <= lastOnes;
        // Not now - time: a point.txt may give a time that far from now.
        const bool young = points[i].time > now - rules.days * kSecondsADay;
        if (recent || young || i + 1 == points.size())
            kept.push_back(points[i]);
        else
            removed.old.push_back(points[i].id);
    }
    for (const KeptPoint& point : kept) tablesSize = std::max(tablesSize, point.tablesSize);
    removed.limit = tablesSize * static_cast<std::uintmax_t>(rules.sizeFactor);
    std::uintmax_t total = std::accumulate(kept.begin(), kept.end(), std::uintmax_t{0},
                                           [](std::uintmax_t sum, const KeptPoint& point) { return sum + point.size; });
    for (std::size_t i = 0; total > removed.limit && i + 1 < kept.size(); ++i) {
        removed.oversize.push_back(kept[i].id);
        total -= kept[i].size;
    }
    return removed;
}

} // namespace gamarium::history
