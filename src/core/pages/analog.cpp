#include "core/pages/analog.h"

#include "core/pages/page_text.h"

#include <algorithm>

namespace gamarium::pages {
namespace {

// An entry without its last `count` characters (nothing left of a shorter one).
std::string_view cut(std::string_view entry, std::size_t count) {
    return entry.substr(0, entry.size() - std::min(count, entry.size()));
}

} // namespace

std::optional<std::string> addnames3(std::string_view text, const MessageSink& messages) {
    switch (text.empty() ? '\0' : text.back()) {
    case 'e': return pageText("Европе");
    case 'j': return pageText("Японии");
    case 'u': return pageText("США");
    default: tell(messages, "!!!!!!!!!!!!!"); return std::nullopt;
    }
}

std::string addnames2(std::string_view analog, const MessageSink& messages) {
    const std::size_t semicolon = analog.find(';');
    const std::string_view first = analog.substr(0, semicolon);
    // The region letter stands next to last, before the closing parenthesis;
    // an entry without a word of its own keeps the word it had.
    std::string region;
    const auto regionOf = [&](std::string_view entry) {
        if (auto word = addnames3(cut(entry, 1), messages))
            region = std::move(*word);
    };

    regionOf(first);
    std::string result = pageText("<br><br>В ") + region + pageText(" эта игра увидела свет как <b>") +
                         std::string(cut(first, 3)) + "</b>";
    if (semicolon != std::string_view::npos) {
        const std::string_view second = analog.substr(semicolon + 1);
        regionOf(second);
        result += pageText("<br>А в ") + region + pageText(" как <b>") + std::string(cut(second, 4)) + "</b>";
    }
    return result;
}

} // namespace gamarium::pages
