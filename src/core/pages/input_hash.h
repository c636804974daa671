#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

struct XXH3_state_s;

namespace gamarium::pages {

// A digest of what goes into a page, to tell whether the page would come
// out as before without making it. Every piece is added with its length, so
// that "ab" + "c" and "a" + "bc" differ.
class InputHash {
public:
    using Digest = std::array<std::uint8_t, 16>;

    InputHash();
    ~InputHash();
    InputHash(const InputHash& other);
    InputHash& operator=(const InputHash&) = delete;

    InputHash& add(std::string_view bytes);
    InputHash& add(std::int64_t number);
    Digest digest() const;

private:
    std::unique_ptr<XXH3_state_s, void (*)(XXH3_state_s*)> state_;
};

} // namespace gamarium::pages
