#include "pictures/wmf_check.h"

#include "error.h"
#include "pictures/byte_reader.h"

#include <algorithm>
#include <vector>

namespace gamarium::pictures {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::uint16_t kEndRecord = 0x0000;
constexpr std::uint16_t kDeleteObject = 0x01F0;

// Records that create an object: it takes the lowest free slot of the
// object table.
constexpr std::uint16_t kCreators[] = {0x00F7, 0x0142, 0x01F9, 0x02FA, 0x02FB, 0x02FC, 0x06FF};
// Records whose first parameter is the slot of an existing object.
constexpr std::uint16_t kObjectUsers[] = {0x012D, 0x0234, 0x01F0};

template <std::size_t N>
bool among(const std::uint16_t (&list)[N], std::uint16_t function) {
    return std::find(std::begin(list), std::end(list), function) != std::end(list);
}

} // namespace

void requireSoundMetafile(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    if (in.u32le() == kPlaceableKey)
        in.seek(kPlaceableSize);
    else
        in.seek(0);
    const std::uint16_t type = in.u16le();
    const std::uint16_t headerWords = in.u16le();
    in.skip(6);
    const std::uint16_t objectCount = in.u16le();
    in.skip(6);
    if (!in.ok() || (type != 1 && type != 2) || headerWords != 9)
        throw Error("not a Windows metafile");
    std::vector<bool> used(objectCount, false);
    while (true) {
        const std::size_t start = in.position();
        const std::uint32_t words = in.u32le();
        const std::uint16_t function = in.u16le();
        if (!in.ok() || words < 3 || words > (bytes.size() - start) / 2)
            throw Error("damaged metafile record");
        // libwmf takes only a three-word end record for the end, and plays
        // on past any other.
        if (function == kEndRecord) {
            if (words != 3)
                throw Error("damaged metafile end record");
            return;
        }
        ByteReader parameters(bytes.subspan(start + 6, words * 2 - 6));
        if (among(kCreators, function)) {
            const auto slot = std::find(used.begin(), used.end(), false);
            if (slot == used.end())
                throw Error("metafile creates more objects than it declares");
            *slot = true;
        } else if (among(kObjectUsers, function)) {
            const std::uint16_t slot = parameters.u16le();
            if (!parameters.ok() || slot >= used.size() || !used[slot])
                throw Error("metafile uses an object it has not created");
            if (function == kDeleteObject)
                used[slot] = false;
        }
        in.seek(start + words * 2);
    }
}

} // namespace gamarium::pictures
