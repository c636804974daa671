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
        throw Error("'" + text::toUtf8(text::StoredText::fromCp1251(typed)) + "' is not a valid integer value");
    return value;
}

PageSettings pageSettingsFrom(const TypedPageSettings& typed) {
    PageSettings settings;
    if (typed.gamesPerPage)
        settings.gamesPerPage = gamesPerPageFromText(*typed.gamesPerPage);
    const std::pair<const std::optional<std::string>*, std::string*> paths[] = {
        {&typed.russianPatchPath, &settings.block.russianPatchPath},
        {&typed.otherPatchPath, &settings.block.otherPatchPath},
        {&typed.imagePath, &settings.block.imagePath},
    };
    for (const auto& [given, path] : paths)
        if (*given)
            *path = **given;
    return settings;
}

std::string defaultSettingsText() {
    const PageSettings defaults;
    return std::to_string(defaults.gamesPerPage) + ", " + text::toUtf8(text::StoredText::fromCp1251(defaults.block.russianPatchPath)) + ", " +
           text::toUtf8(text::StoredText::fromCp1251(defaults.block.otherPatchPath)) + ", " + text::toUtf8(text::StoredText::fromCp1251(defaults.block.imagePath));
}

files::Path defaultOutputFolder([[maybe_unused]] const files::Path& home) {
#ifdef _WIN32
    return PageSettings().outputFolder;
#else
    return home / "site" / "";
#endif
}

} // namespace gamarium::pages
