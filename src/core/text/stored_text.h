#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace gamarium::text {

// A text as the program keeps it in its tables and files: Windows-1251
// bytes. Messages and the command line speak UTF-8 in a plain std::string;
// the two do not mix, and the conversions (cp1251.h, exact_conversion.h)
// are the only way from one to the other.
class StoredText {
public:
    StoredText() = default;
    // Bytes that are Windows-1251 already: read from a table file, from a
    // file the program writes in the code page, or cut from another stored
    // text.
    static StoredText fromCp1251(std::string bytes) {
        StoredText text;
        text.bytes_ = std::move(bytes);
        return text;
    }
    static StoredText fromCp1251(std::string_view bytes) { return fromCp1251(std::string(bytes)); }
    static StoredText fromCp1251(const char* bytes) { return fromCp1251(std::string(bytes)); }

    const std::string& bytes() const& { return bytes_; }
    std::string bytes() && { return std::move(bytes_); }
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size(); }
    // Empties the text, keeping its memory for the next one.
    void clear() { bytes_.clear(); }

    StoredText& operator+=(const StoredText& more) {
        bytes_ += more.bytes_;
        return *this;
    }
    friend StoredText operator+(StoredText a, const StoredText& b) { return a += b; }
    // By character code: the bytes compare as unsigned.
    friend bool operator==(const StoredText&, const StoredText&) = default;
    friend bool operator<(const StoredText& a, const StoredText& b) { return a.bytes_ < b.bytes_; }

private:
    // The conversion from UTF-8 fills a text in place.
    friend void fromUtf8(std::string_view utf8, StoredText& out);

    std::string bytes_;
};

} // namespace gamarium::text

namespace gamarium {

// A string literal whose bytes are 7-bit ASCII, the same in both
// encodings; any other byte stops the compilation.
template <std::size_t N>
struct AsciiLiteral {
    consteval AsciiLiteral(const char (&literal)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            if (static_cast<unsigned char>(literal[i]) > 0x7F)
                throw "a stored-text literal must be ASCII; convert other text with text::fromUtf8";
            chars[i] = literal[i];
        }
    }
    char chars[N]{};
};

// "1"_stored: an ASCII literal as stored text.
template <AsciiLiteral literal>
text::StoredText operator""_stored() {
    return text::StoredText::fromCp1251(std::string(literal.chars, sizeof(literal.chars) - 1));
}

} // namespace gamarium

template <>
struct std::hash<gamarium::text::StoredText> {
    std::size_t operator()(const gamarium::text::StoredText& text) const noexcept {
        return std::hash<std::string>{}(text.bytes());
    }
};
