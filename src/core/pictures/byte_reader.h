#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Reads numbers and byte runs from a picture file held in memory. Every read
// is checked against the end of the bytes: one that does not fit gives zero
// (or an empty run), moves nothing and marks the reader failed, and every
// later read fails too. A decoder reads a group of fields and then asks ok()
// once, before it trusts any of them.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }

    void seek(std::size_t offset) {
        if (!ok_ || offset > bytes_.size())
            ok_ = false;
        else
            position_ = offset;
    }

    void skip(std::size_t count) { take(count); }

    std::span<const std::uint8_t> take(std::size_t count) {
        if (!ok_ || count > remaining()) {
            ok_ = false;
            return {};
        }
        const auto run = bytes_.subspan(position_, count);
        position_ += count;
        return run;
    }

    // Whether the next bytes are these, without moving.
    bool startsWith(std::span<const std::uint8_t> expected) const {
        return ok_ && expected.size() <= remaining() &&
               std::equal(expected.begin(), expected.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
    }

    std::uint8_t u8() { return static_cast<std::uint8_t>(number(1, false)); }
    std::uint16_t u16le() { return static_cast<std::uint16_t>(number(2, false)); }
    std::uint16_t u16be() { return static_cast<std::uint16_t>(number(2, true)); }
    std::uint32_t u32le() { return number(4, false); }
    std::uint32_t u32be() { return number(4, true); }
    std::int32_t i32le() { return static_cast<std::int32_t>(number(4, false)); }

private:
    std::uint32_t number(std::size_t size, bool bigEndian) {
        const auto run = take(size);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < run.size(); ++i)
            value = value << 8 | run[bigEndian ? i : run.size() - 1 - i];
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

} // namespace gamarium::pictures
