#include "core/history/content_hash.h"

#include "core/files/system.h"

#include <xxhash.h>

#include <charconv>
#include <memory>
#include <vector>

namespace gamarium::history {

std::optional<std::uint64_t> contentHash(const files::Path& file) {
    const files::FileReader reader(file);
    if (!reader.open()) return std::nullopt;
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), XXH3_freeState);
    XXH3_64bits_reset(state.get());
    std::vector<char> buffer(1 << 18);
    std::uint64_t offset = 0;
    while (offset < reader.size()) {
        const std::size_t count = reader.readAt(offset, buffer.data(), buffer.size());
        if (count == 0) return std::nullopt;
        XXH3_64bits_update(state.get(), buffer.data(), count);
        offset += count;
    }
    return XXH3_64bits_digest(state.get());
}

std::string hashText(std::uint64_t hash) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return text;
}

std::optional<std::uint64_t> hashFromText(std::string_view text) {
    std::uint64_t hash = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), hash, 16);
    if (ec != std::errc() || end != text.data() + text.size() || text.size() != 16) return std::nullopt;
    return hash;
}

} // namespace gamarium::history
