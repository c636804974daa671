#include "core/publish/content_hash.h"

#include "core/error.h"

#include <xxhash.h>

#include <cstdio>
#include <new>
#include <vector>

namespace gamarium::publish {

ContentHash::ContentHash() : state_(XXH3_createState()) {
    if (!state_) throw std::bad_alloc();
    XXH3_128bits_reset(state_);
}

ContentHash::~ContentHash() {
    XXH3_freeState(state_);
}

void ContentHash::add(const void* bytes, std::size_t count) {
    XXH3_128bits_update(state_, bytes, count);
}

std::string ContentHash::hex() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_));
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : canonical.digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

std::string hashOfFile(const files::Path& file) {
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) throw Error("Не удаётся прочитать файл «" + file.string() + "».");
    ContentHash hash;
    std::vector<char> buffer(std::size_t{1} << 16);
    std::size_t count;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0) hash.add(buffer.data(), count);
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed) throw Error("Не удаётся прочитать файл «" + file.string() + "».");
    return hash.hex();
}

} // namespace gamarium::publish
