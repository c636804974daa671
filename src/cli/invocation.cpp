#include "cli/invocation.h"

#include "cli/options.h"
#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"
#include "core/tools/merge.h"

#include <charconv>
#include <stdexcept>

namespace gamarium::cli {

std::optional<std::string> Invocation::value(const Option& option) const {
    const auto it = values.find(std::string(option.name));
    if (it == values.end()) return std::nullopt;
    return it->second.front();
}

std::vector<std::string> Invocation::valuesOf(const Option& option) const {
    const auto it = values.find(std::string(option.name));
    return it == values.end() ? std::vector<std::string>{} : it->second;
}

void Invocation::status(const text::StoredText& text) const {
    std::string lines;
    // A line may quote a name or a list as the user's files gave it.
    for (const std::string& line : tools::listLines(text.bytes()))
        lines += text::printable(text::toUtf8(text::StoredText::fromCp1251(line)), std::string::npos) + '\n';
    out << (lines.empty() ? std::string("\n") : lines);
}

files::Path Invocation::path(const std::string& utf8) const {
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

session::BaseSession& Invocation::base() const {
    if (!opened) throw std::logic_error("the command table opens no base for " + what);
    return *opened;
}

session::BaseTable Invocation::chosenTable() const {
    return isSet(options::Patches) ? session::BaseTable::Patches : session::BaseTable::Games;
}

int positionArgument(const std::string& word, const store::Table& table) {
    int position = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), position);
    if (ec != std::errc() || end != word.data() + word.size() || position < 1 || position > table.recordCount())
        throw Error("нет игры на месте " + text::quoted(word) + " (в таблице " + std::to_string(table.recordCount()) +
                    " игр)");
    return position;
}

} // namespace gamarium::cli
