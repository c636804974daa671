#include "core/find/search_fold.h"

#include "core/text/cp1251.h"

#include <array>

namespace gamarium::find {
namespace {

constexpr unsigned char kSmallYo = 0xB8; // ё
constexpr unsigned char kSmallYe = 0xE5; // е

const std::array<char, 256>& foldTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = text::lower(static_cast<char>(i));
        for (char& c : t)
            if (static_cast<unsigned char>(c) == kSmallYo) c = static_cast<char>(kSmallYe);
        return t;
    }();
    return table;
}

} // namespace

void appendFolded(std::string& out, std::string_view text) {
    const auto& table = foldTable();
    const std::size_t from = out.size();
    out.resize(from + text.size());
    char* to = out.data() + from;
    for (const char c : text) *to++ = table[static_cast<unsigned char>(c)];
}

std::string foldForSearch(std::string_view text) {
    std::string folded;
    appendFolded(folded, text);
    return folded;
}

bool isWordCharacter(char c) {
    return (c >= '0' && c <= '9') || text::upper(c) != text::lower(c);
}

} // namespace gamarium::find
