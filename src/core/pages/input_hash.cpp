#include "core/pages/input_hash.h"

#include <xxhash.h>

namespace gamarium::pages {

InputHash& InputHash::add(std::string_view bytes) {
    add(static_cast<std::int64_t>(bytes.size()));
    pieces_.append(bytes);
    return *this;
}

InputHash& InputHash::add(std::int64_t number) {
    for (int i = 0; i < 8; ++i)
        pieces_ += static_cast<char>(static_cast<std::uint64_t>(number) >> (8 * i));
    return *this;
}

InputHash& InputHash::add(const Digest& digest) {
    pieces_.append(reinterpret_cast<const char*>(digest.data()), digest.size());
    return *this;
}

InputHash::Digest InputHash::digest() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(pieces_.data(), pieces_.size()));
    Digest digest;
    for (std::size_t i = 0; i < digest.size(); ++i)
        digest[i] = canonical.digest[i];
    return digest;
}

} // namespace gamarium::pages
