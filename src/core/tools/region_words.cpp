#include "core/tools/region_words.h"

#include "core/text/cp1251.h"

#include <algorithm>

namespace gamarium::tools {

std::optional<std::string> regionWords(std::string_view letters) {
    // Keyed by the letters in alphabetical order.
    static constexpr std::pair<std::string_view, std::string_view> kWords[] = {
        {"u", "USA"},           {"j", "Japan"},      {"e", "Europe"},          {"eu", "USA, Europe"},
        {"ju", "Japan, USA"},   {"ej", "Japan, Europe"}, {"eju", "World"},
    };
    std::string key = text::lowerLatin(letters);
    std::sort(key.begin(), key.end());
    for (const auto& [sorted, words] : kWords)
        if (key == sorted) return std::string(words);
    return std::nullopt;
}

} // namespace gamarium::tools
