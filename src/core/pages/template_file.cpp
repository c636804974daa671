#include "core/pages/template_file.h"

#include "core/text/cp1251.h"

#include <algorithm>

namespace gamarium::pages {
namespace {

bool isMarker(std::string_view line) {
    return line.size() >= 2 && line[0] == '$' && text::upper(line[1]) == 'B';
}

// The next line from `at` without its end, `at` moved past the end.
std::string_view nextLine(std::string_view bytes, std::size_t& at) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    const std::string_view line = bytes.substr(at, end - at);
    at = end;
    if (at < bytes.size() && bytes[at] == '\r')
        ++at;
    if (at < bytes.size() && bytes[at] == '\n')
        ++at;
    return line;
}

} // namespace

PageTemplate parseTemplate(std::string_view bytes) {
    PageTemplate sections;
    int markers = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::string_view line = nextLine(bytes, at);
        if (isMarker(line)) {
            ++markers;
            continue;
        }
        std::string& section = markers <= 1 ? sections.head : markers == 2 ? sections.block : sections.foot;
        section.append(line).append("\r\n");
    }
    return sections;
}

PageTemplate loadTemplate(const files::Path& file) {
    return parseTemplate(files::readFile(file));
}

files::Path templatesFolder(const files::Path& home) {
    return home / "templates";
}

} // namespace gamarium::pages
