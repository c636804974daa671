#include "core/pages/file_url.h"

namespace gamarium::pages {

std::string percentEncoded(std::string_view utf8, std::string_view alsoKept) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            std::string_view("-._~").find(c) != std::string_view::npos ||
            alsoKept.find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

std::string fileUrl(const files::Path& file) {
    const auto generic = std::filesystem::absolute(file).generic_u8string();
    const std::string path(generic.begin(), generic.end());
    // A drive letter ("C:/...") needs a slash before it, and keeps its colon.
    if (path.size() >= 2 && path[1] == ':')
        return "file:///" + path.substr(0, 2) + percentEncoded(path.substr(2), "/");
    return "file://" + percentEncoded(path, "/");
}

} // namespace gamarium::pages
