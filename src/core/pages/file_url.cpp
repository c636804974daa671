#include "core/pages/file_url.h"

#include <cctype>

namespace gamarium::pages {

std::string fileUrl(const files::Path& file) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto path = std::filesystem::absolute(file).generic_u8string();
    // A drive letter ("C:/...") needs a slash before it.
    std::string url = path.empty() || path.front() != u8'/' ? "file:///" : "file://";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (std::isalnum(byte) || std::string_view("-._~/").find(static_cast<char>(byte)) != std::string_view::npos ||
            (byte == ':' && i == 1)) {
            url += static_cast<char>(byte);
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

} // namespace gamarium::pages
