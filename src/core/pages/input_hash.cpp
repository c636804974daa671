#include "core/pages/input_hash.h"

#include <xxhash.h>

#include <new>

namespace gamarium::pages {
namespace {

XXH3_state_t* newState() {
    XXH3_state_t* state = XXH3_createState();
    if (!state) throw std::bad_alloc();
    return state;
}

void freeState(XXH3_state_t* state) {
    XXH3_freeState(state);
}

} // namespace

InputHash::InputHash() : state_(newState(), freeState) {
    XXH3_128bits_reset(state_.get());
}

InputHash::~InputHash() = default;

InputHash::InputHash(const InputHash& other) : state_(newState(), freeState) {
    XXH3_copyState(state_.get(), other.state_.get());
}

InputHash& InputHash::add(std::string_view bytes) {
    add(static_cast<std::int64_t>(bytes.size()));
    XXH3_128bits_update(state_.get(), bytes.data(), bytes.size());
    return *this;
}

InputHash& InputHash::add(std::int64_t number) {
    std::uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(number) >> (8 * i));
    XXH3_128bits_update(state_.get(), bytes, sizeof bytes);
    return *this;
}

InputHash::Digest InputHash::digest() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_.get()));
    Digest digest;
    for (std::size_t i = 0; i < digest.size(); ++i)
        digest[i] = canonical.digest[i];
    return digest;
}

} // namespace gamarium::pages
