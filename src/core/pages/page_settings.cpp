#include "core/pages/page_settings.h"

#include "core/error.h"
#include "core/text/cp1251.h"

#include <charconv>

namespace gamarium::pages {

int gamesPerPageFromText(std::string_view typed) {
    std::string_view digits = typed;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw Error("'" + text::toUtf8(typed) + "' is not a valid integer value");
    return value;
}

files::Path defaultOutputFolder([[maybe_unused]] const files::Path& home) {
#ifdef _WIN32
    return PageSettings().outputFolder;
#else
    return home / "site" / "";
#endif
}

} // namespace gamarium::pages
