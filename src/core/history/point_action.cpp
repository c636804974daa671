#include "core/history/point_action.h"

#include <vector>

namespace gamarium::history {
namespace {

// The words of a command line as the CLI wrote them: a word holding a space
// or a tab, or empty, is in double quotes.
std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = line.find(' ', at);
        if (line[at] == '"') {
            const std::size_t close = line.find("\" ", at + 1);
            const std::size_t last = close == std::string::npos ? line.size() - 1 : close;
            words.push_back(line.substr(at + 1, last - at - 1));
            at = last + 1;
            continue;
        }
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// A file named by its own name, without its folders.
std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos || slash + 1 == path.size() ? path : path.substr(slash + 1);
}

// The words that are not options nor an option's value.
std::vector<std::string> plainWords(const std::vector<std::string>& words) {
    static const char* const kWithValue[] = {"--encoding", "--delimiter", "--slot"};
    std::vector<std::string> plain;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (!words[i].starts_with("--")) {
            plain.push_back(words[i]);
            continue;
        }
        for (const char* option : kWithValue)
            if (words[i] == option) ++i;
    }
    return plain;
}

bool has(const std::vector<std::string>& words, const char* option) {
    for (const std::string& word : words)
        if (word == option) return true;
    return false;
}

std::string fileList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += (list.empty() ? "" : ", ") + fileName(path);
    return list;
}

} // namespace

std::string describeAction(const std::string& what) {
    const std::vector<std::string> words = wordsOf(what);
    if (words.empty()) return what;
    const std::string& command = words.front();
    const std::vector<std::string> plain = plainWords(words);
    if (command == "renumber" && plain.empty()) return "Ренумерация";
    if (command == "empty" && plain.empty()) return "Очистка базы";
    if (command == "convert" && plain.empty()) return "Преобразование старых таблиц";
    if (command == "create" && plain.empty()) return "Замена базы пустой";
    if (command == "check" && plain == std::vector<std::string>{"orphans"}) return "Перенос лишних картинок в _orphans";
    if (command == "restore" && plain.size() == 1) return "Восстановление точки " + plain[0];
    if (command == "rename" && plain.size() == 2) return "Переименование в «" + plain[1] + "»";
    if (command == "import" && plain.size() == 1)
        return (has(words, "--patches") ? "Импорт CSV в таблицу патчей: " : "Импорт CSV: ") + fileName(plain[0]);
    if (command == "merge" && plain.size() == 1) return "Слияние списка: " + fileName(plain[0]);
    if (command == "dat" && !plain.empty()) return "Импорт DAT: " + fileList(plain);
    if (command == "pictures" && plain.size() == 1) return "Картинки по названиям: " + fileName(plain[0]);
    return what;
}

} // namespace gamarium::history
