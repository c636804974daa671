#include "core/patches/patch_rules.h"

#include "core/store/table.h"

#include <algorithm>
#include <limits>

namespace gamarium::patches {

void writeCurrentPatch(store::Table& patches) {
    patches.edit();
    patches.post();
}

std::int64_t nextPatchNumber(std::int64_t lastN) {
    return static_cast<std::int64_t>(static_cast<std::uint16_t>(lastN)) + 1;
}

void appendNextPatch(store::Table& patches) {
    writeCurrentPatch(patches);
    patches.last();
    const std::int64_t n = nextPatchNumber(patches.field(store::patches::N).asInteger());
    patches.append();
    patches.field(store::patches::N).setAsInteger(n);
}

void goToLinkedPatch(store::Table& patches, std::int64_t link) {
    patches.first();
    const std::int64_t steps =
        std::clamp<std::int64_t>(link - 1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    patches.moveBy(static_cast<int>(steps));
}

} // namespace gamarium::patches
