#include "core/tools/merge.h"

#include "core/error.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

namespace gamarium::tools {

int mergeList(store::Table& games, const ListFile& list, const StatusSink& report, const Progress& progress) {
    const std::vector<std::string> lines = listLines(list.text.bytes());
    if (lines.empty() || lines.front().find(';') == std::string::npos)
        throw Error("файл не тот. Оставь эту затею.");
    report(encodingLine(list));
    // Each line is stored on its own, so that a stop keeps what was merged.
    const store::Table::ManyChanges many(games);
    std::vector<text::StoredText> skipped;
    int added = 0;
    const int total = static_cast<int>(lines.size());
    for (int number = 1; number <= total; ++number) {
        const std::string& line = lines[static_cast<std::size_t>(number) - 1];
        if (!line.empty()) {
            if (const std::optional<ListGame> game = parseListLine(line)) {
                // Outside the recovery below: a refused save of the record
                // the user is editing must keep the user's change.
                games.last();
                try {
                    const std::int64_t n = games.field(store::games::N).asInteger();
                    games.append();
                    games.field(store::games::Sid).setAsString(game->sid);
                    games.field(store::games::N).setAsInteger(n + 1);
                    games.field(store::games::Name).setAsString(game->name);
                    games.field(store::games::Region).setAsString(game->region);
                    games.field(store::games::Ngamers).setAsString("1"_stored);
                    games.post();
                } catch (const Error& e) {
                    games.cancel();
                    throw Error("Строка " + std::to_string(number) + " списка: " + e.what());
                }
                ++added;
            } else {
                skipped.push_back(text::fromUtf8("Пропущена строка ") +
                                  text::StoredText::fromCp1251(std::to_string(number) + ": " + line));
            }
        }
        if (progress) progress(number, total);
    }
    for (const text::StoredText& line : skipped) report(line);
    return added;
}

} // namespace gamarium::tools
