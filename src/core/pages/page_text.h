#pragma once

#include "core/text/cp1251.h"

#include <string>
#include <string_view>

namespace gamarium::pages {

// A page is made of Windows-1251 bytes, as its template and the records'
// texts are; the program's own words join them through this conversion.
inline std::string pageText(std::string_view utf8) {
    return text::fromUtf8(utf8).bytes();
}

} // namespace gamarium::pages
