#include "cli/invocation.h"

#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"
#include "core/tools/merge.h"

namespace gamarium::cli {

std::optional<std::string> Invocation::value(const std::string& option) const {
    const auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second.front();
}

std::vector<std::string> Invocation::valuesOf(const std::string& option) const {
    const auto it = values.find(option);
    return it == values.end() ? std::vector<std::string>{} : it->second;
}

void Invocation::status(const std::string& cp1251) const {
    std::string lines;
    // A line may quote a name or a list as the user's files gave it.
    for (const std::string& line : tools::listLines(cp1251))
        lines += text::printable(text::toUtf8(line), std::string::npos) + '\n';
    out << (lines.empty() ? std::string("\n") : lines);
}

files::Path Invocation::path(const std::string& utf8) const {
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

std::unique_ptr<session::BaseSession> Invocation::openBase(const std::string& base) const {
    return std::make_unique<session::BaseSession>(home, text::toStoredText(base));
}

std::unique_ptr<store::Table> Invocation::openTable(const std::string& base, session::BaseTable which) const {
    return session::openBaseTable(home, text::toStoredText(base), which);
}

} // namespace gamarium::cli
