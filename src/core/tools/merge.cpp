#include "tools/merge.h"

#include "error.h"
#include "store/table.h"
#include "text/cp1251.h"

namespace gamarium::tools {

std::string cuttag(std::string_view text, std::string_view tag) {
    const std::size_t at = text.find(tag);
    if (at == std::string_view::npos) return std::string(text);
    const char closing = tag.front() == '[' ? ']' : ')';
    std::string_view head = text.substr(0, at);
    if (!head.empty() && (head.back() == ' ' || head.back() == '_')) head.remove_suffix(1);
    const std::string_view rest = text.substr(at + 1);
    const std::size_t close = rest.find(closing);
    const std::string_view tail = close == std::string_view::npos ? rest : rest.substr(close + 1);
    return std::string(head) + std::string(tail);
}

std::string cleanname(std::string_view namePart) {
    std::string w = cuttag(namePart, "[");
    w = cuttag(w, " + st bios (st");
    for (;;) {
        for (std::string t = cuttag(w, "["); t != w; t = cuttag(w, "[")) w = t;
        w = cuttag(w, "(");
        const std::string t = cuttag(w, "(");
        if (t == w) return w;
        w = t;
    }
}

std::optional<ListGame> parseListLine(std::string_view line) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) return std::nullopt;
    ListGame game;
    game.name = cleanname(line.substr(0, semicolon));
    if (game.name.empty()) return std::nullopt;
    std::string region(line.substr(semicolon + 1));
    if (region == "hak") {
        game.sid = "hak";
    } else {
        if (region.empty()) region = "jue";
        game.sid = region.front() >= '0' && region.front() <= '9' ? "num" : std::string(1, text::lower(game.name.front()));
    }
    if (line.find("32X") != std::string_view::npos) game.sid = "32x";
    if (line.find("(PD)") != std::string_view::npos) game.sid = "pd";
    game.region = region == "pd" || region == "hak" ? "jue" : region;
    return game;
}

std::vector<std::string> listLines(std::string_view file) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

int mergeList(store::Table& games, std::string_view file, const StatusSink& report, const Progress& progress) {
    const std::vector<std::string> lines = listLines(file);
    if (lines.empty() || lines.front().find(';') == std::string::npos)
        throw Error("файл не тот. Оставь эту затею.");
    std::vector<std::string> skipped;
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
                    const std::int64_t n = games.fieldByName("N").asInteger();
                    games.append();
                    games.fieldByName("Sid").setAsString(game->sid);
                    games.fieldByName("N").setAsInteger(n + 1);
                    games.fieldByName("Name").setAsString(game->name);
                    games.fieldByName("Region").setAsString(game->region);
                    games.fieldByName("Ngamers").setAsString("1");
                    games.post();
                } catch (const Error& e) {
                    games.cancel();
                    throw Error("Строка " + std::to_string(number) + " списка: " + e.what());
                }
                ++added;
            } else {
                skipped.push_back(text::fromUtf8("Пропущена строка ") + std::to_string(number) + ": " + line);
            }
        }
        if (progress) progress(number, total);
    }
    for (const std::string& line : skipped) report(line);
    return added;
}

} // namespace gamarium::tools
