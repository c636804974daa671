#include "files/path_part.h"

namespace gamarium::files {

bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

} // namespace gamarium::files
