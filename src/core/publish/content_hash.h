#pragma once

#include "core/files/files.h"

#include <cstddef>
#include <memory>
#include <string>

struct XXH3_state_s;

// The content hash the record of sent files keeps: XXH3, 128 bits, as 32
// hexadecimal digits.
namespace gamarium::publish {

class ContentHash {
public:
    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash&) = delete;
    ContentHash& operator=(const ContentHash&) = delete;

    void add(const void* bytes, std::size_t count);
    std::string hex() const;

private:
    XXH3_state_s* state_;
};

// The hash of a whole file; throws Error when it cannot be read.
std::string hashOfFile(const files::Path& file);

} // namespace gamarium::publish
