#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The one rule by which bytes read from a file are refused as text: the
// list merge, the CSV import and the DAT import say it alike.
namespace gamarium::text {

enum class TextKind {
    File, // a whole text file: its line ends and tabs are its own; a NUL byte is no text
    Name, // a name or another one-line value: no control character at all
};

struct NotText {
    std::size_t at = 0; // the byte's place in the bytes
    std::string reason; // "нулевой байт; это не текстовый файл", "управляющий символ U+001B"
};

// The first byte that keeps `bytes` from being text of that kind: a NUL
// byte, and in a name any control character (U+0001 to U+001F, U+007F).
std::optional<NotText> findNotText(std::string_view bytes, TextKind kind);

} // namespace gamarium::text
