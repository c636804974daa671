#include "pages/placeholder.h"

#include "text/cp1251.h"

namespace gamarium::pages {

bool replaceFirst(std::string& text, std::string_view placeholder, std::string_view value) {
    // Windows-1251 is one byte a character, so positions in the upper-cased
    // copy are positions in the text.
    const std::size_t at = text::upper(text).find(text::upper(placeholder));
    if (at == std::string::npos)
        return false;
    text.replace(at, placeholder.size(), value);
    return true;
}

std::string replaceall(std::string_view source, std::string_view find, std::string_view replacement) {
    std::string result(source);
    if (find.empty())
        return result;
    // A replacement holding the text would be found again for ever: then
    // each occurrence is replaced once, left to right.
    const bool once = replacement.find(find) != std::string_view::npos;
    std::size_t from = 0;
    for (std::size_t at; (at = result.find(find, from)) != std::string::npos;) {
        result.replace(at, find.size(), replacement);
        // Nothing before `at` matched, so a new occurrence can only begin
        // where it reaches into the replacement.
        from = once ? at + replacement.size() : at >= find.size() - 1 ? at - (find.size() - 1) : 0;
    }
    return result;
}

} // namespace gamarium::pages
