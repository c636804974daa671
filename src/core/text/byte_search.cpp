#include "core/text/byte_search.h"

#include <cstring>

namespace gamarium::text {

std::size_t findBytes(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (from > haystack.size()) return std::string_view::npos;
#if defined(__GLIBC__) || defined(__APPLE__) || defined(__FreeBSD__)
    const void* hit = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data()) : std::string_view::npos;
#else
    return haystack.find(needle, from);
#endif
}

} // namespace gamarium::text
