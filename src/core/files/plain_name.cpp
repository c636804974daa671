#include "core/files/plain_name.h"

#include <algorithm>

namespace gamarium::files {

bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':';
    });
}

} // namespace gamarium::files
