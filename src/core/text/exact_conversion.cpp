#include "core/text/exact_conversion.h"

#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/plain_forms.h"
#include "core/text/printable.h"
#include "core/text/unaccented.h"
#include "core/text/utf8_sequence.h"

namespace gamarium::text {
namespace {

constexpr unsigned char kUnassigned = 0x98;

// UTF-8 as Windows-1251; with `unaccented`, accented Latin letters the code
// page lacks are written without their accents, characters with a plain
// form spelled in it, and each counted there.
ExactText convertUtf8(std::string_view utf8, int* unaccented) {
    ExactText result;
    std::string cp1251;
    cp1251.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8SequenceAt(utf8, i, cp);
        if (length == 0) {
            result.problem = "байты, которые не являются текстом UTF-8 (файл в другой кодировке?)";
            return result;
        }
        i += length;
        const char byte = fromCodePoint(cp);
        if ((byte == '?' && cp != U'?') || static_cast<unsigned char>(byte) == kUnassigned) {
            if (unaccented && isCombiningAccent(cp)) {
                ++*unaccented;
                continue;
            }
            std::string_view letters;
            if (unaccented) letters = text::unaccented(cp);
            if (unaccented && letters.empty()) letters = plainForm(cp);
            if (letters.empty()) {
                result.problem = "символ " + characterName(utf8.substr(i - length, length), cp) +
                                 ", которого нет в кодировке Windows-1251";
                return result;
            }
            cp1251 += letters;
            ++*unaccented;
            continue;
        }
        cp1251 += byte;
    }
    result.text = StoredText::fromCp1251(std::move(cp1251));
    return result;
}

} // namespace

ExactText fromUtf8Exactly(std::string_view utf8) {
    return convertUtf8(utf8, nullptr);
}

ExactText fromUtf8Unaccented(std::string_view utf8, int& unaccented) {
    return convertUtf8(utf8, &unaccented);
}

bool isUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0, length = 0; i < bytes.size(); i += length)
        if ((length = utf8SequenceAt(bytes, i, cp)) == 0) return false;
    return true;
}

StoredText toStoredText(std::string_view utf8) {
    ExactText exact = fromUtf8Exactly(utf8);
    if (!exact.problem.empty()) throw Error(quoted(utf8) + ": " + exact.problem + ".");
    return std::move(exact.text);
}

ExactText fromCp1251Exactly(std::string_view cp1251) {
    ExactText result;
    if (cp1251.find(static_cast<char>(kUnassigned)) != std::string_view::npos) {
        result.problem = "байт 0x98, который не является символом Windows-1251";
        return result;
    }
    result.text = StoredText::fromCp1251(std::string(cp1251));
    return result;
}

} // namespace gamarium::text
