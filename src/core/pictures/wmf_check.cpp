#include "core/pictures/wmf_check.h"

#include "core/error.h"
#include "core/pictures/byte_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace gamarium::pictures {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::uint16_t kEndRecord = 0x0000;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kSelectPalette = 0x0234;
constexpr std::uint16_t kDeleteObject = 0x01F0;

enum class Kind { Brush, Pen, Font, Palette, Region };
constexpr std::size_t kKinds = 5;

// The records that create an object, which takes the lowest free slot of
// the object table, and the kind of object each makes.
std::optional<Kind> createdKind(std::uint16_t function) {
    switch (function) {
    case 0x02FC: // CreateBrushIndirect
    case 0x0142: // DibCreatePatternBrush
    case 0x01F9: return Kind::Brush; // CreatePatternBrush
    case 0x02FA: return Kind::Pen;
    case 0x02FB: return Kind::Font;
    case 0x00F7: return Kind::Palette;
    case 0x06FF: return Kind::Region;
    default: return std::nullopt;
    }
}

// The object table as the records leave it. libwmf keeps a pointer to the
// slot of each selected object: a slot deleted while selected is reused by
// the next object created, so drawing before another object of that kind
// is selected draws with whatever the slot then holds.
class Objects {
public:
    explicit Objects(std::size_t count) : slots_(count) {}

    void create(Kind kind) {
        const auto free = std::find(slots_.begin(), slots_.end(), std::nullopt);
        if (free == slots_.end())
            throw Error("metafile creates more objects than it declares");
        *free = kind;
    }
    void select(std::uint16_t slot) {
        const Kind kind = existing(slot);
        selected_[index(kind)] = slot;
        dangling_[index(kind)] = false;
    }
    void remove(std::uint16_t slot) {
        const Kind kind = existing(slot);
        if (selected_[index(kind)] == slot)
            dangling_[index(kind)] = true;
        slots_[slot].reset();
    }
    bool anyDangling() const { return std::find(dangling_.begin(), dangling_.end(), true) != dangling_.end(); }

private:
    static std::size_t index(Kind kind) { return static_cast<std::size_t>(kind); }
    Kind existing(std::uint16_t slot) const {
        if (slot >= slots_.size() || !slots_[slot])
            throw Error("metafile uses an object it has not created");
        return *slots_[slot];
    }

    std::vector<std::optional<Kind>> slots_;
    std::array<std::optional<std::uint16_t>, kKinds> selected_{};
    std::array<bool, kKinds> dangling_{};
};

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
    Objects objects(objectCount);
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
        const std::uint16_t slot = parameters.u16le();
        if (const auto kind = createdKind(function)) {
            objects.create(*kind);
        } else if (function == kSelectObject || function == kSelectPalette) {
            objects.select(parameters.ok() ? slot : objectCount);
        } else if (function == kDeleteObject) {
            objects.remove(parameters.ok() ? slot : objectCount);
        } else if (objects.anyDangling()) {
            throw Error("metafile draws with an object it has deleted");
        }
        in.seek(start + words * 2);
    }
}

} // namespace gamarium::pictures
