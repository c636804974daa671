#include "core/pages/kept_patches.h"

#include "core/pages/cache_file.h"
#include "core/pages/kept_table.h"
#include "core/store/table.h"

namespace gamarium::pages {
namespace {

// Per patch: its texts, in the order of patchTextFields().
constexpr std::string_view kKind = "patches 1";

} // namespace

std::vector<PatchRecord> patchesOf(store::Table& patches, const files::Path& home, std::string_view base) {
    const KeptTable kept(patches, baseCacheFile(home, base, ".patches"), kKind);
    const TextFields<PatchRecord>& fields = patchTextFields();
    std::vector<PatchRecord> records;
    const bool taken = kept.read([&](std::string_view bytes) {
        std::vector<PatchRecord> loaded(static_cast<std::size_t>(patches.recordCount()));
        KeptReader in(bytes);
        for (PatchRecord& patch : loaded)
            for (const auto& [name, member] : fields)
                patch.*member = in.text();
        if (!in.done())
            throw std::runtime_error("more patches kept than the table holds");
        records = std::move(loaded);
    });
    if (taken)
        return records;
    records = readPatches(patches);
    if (kept.mayKeep()) {
        KeptWriter out;
        for (const PatchRecord& patch : records)
            for (const auto& [name, member] : fields)
                out.text(patch.*member);
        kept.keep(out.written());
    }
    return records;
}

} // namespace gamarium::pages
