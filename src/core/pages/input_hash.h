#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gamarium::pages {

// A digest of what goes into a page, to tell whether the page would come
// out as before without making it. Every piece is added with its length, so
// that "ab" + "c" and "a" + "bc" differ. The pieces are gathered and
// digested at once: a page's many short fields cost less so.
class InputHash {
public:
    using Digest = std::array<std::uint8_t, 16>;

    InputHash& add(std::string_view bytes);
    InputHash& add(std::int64_t number);
    InputHash& add(const Digest& digest);
    Digest digest() const;
    // Starts again with nothing added, keeping the memory.
    void clear() { pieces_.clear(); }

private:
    std::string pieces_;
};

} // namespace gamarium::pages
