// What the page generator keeps of a base's tables in the cache folder
// (pages::KeptTable): the games' keys and digests, and the patches. The
// first byte of the input chooses the file (bit 0: the patches) and whether
// the rest is the whole file (bit 1) or only what is kept, put behind the
// header the file would have for the tables as they stand, checksum and
// all. Whatever the file holds, a run gets a game and a patch for each
// record of the tables.
#include "fields_input.h"
#include "fuzz_folder.h"
#include "program_files.h"

#include "core/pages/cache_file.h"
#include "core/pages/game_digests.h"
#include "core/pages/kept_patches.h"

#include <xxhash.h>

namespace {

using namespace gamarium;

struct Kept {
    fuzz::KeptBase base{fuzz::folder()};
    files::Path gamesFile = pages::gameDigestsFile(base.home_, fuzz::kBase);
    files::Path patchesFile = pages::baseCacheFile(base.home_, fuzz::kBase, ".patches");
    std::string gamesHeader, patchesHeader; // without their checksums

    Kept() {
        std::vector<pages::GameKeys> keys;
        pages::GameDigests(base.games, base.home_, fuzz::kBase, keys, [](std::int64_t, const pages::GameKeys&) {});
        pages::patchesOf(base.patches, base.home_, fuzz::kBase);
        for (auto [file, header] : {std::pair{&gamesFile, &gamesHeader}, std::pair{&patchesFile, &patchesHeader}}) {
            const std::string bytes = files::readFile(*file);
            *header = bytes.substr(0, fuzz::keptHeaderSize(bytes) - sizeof(std::uint64_t));
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Kept kept;
    if (size == 0) return 0;
    const bool ofPatches = data[0] & 1, whole = data[0] & 2;
    const std::string_view rest = fuzz::asText(data + 1, size - 1);
    pages::KeptWriter file;
    if (!whole) {
        file.bytes(ofPatches ? kept.patchesHeader : kept.gamesHeader);
        file.number(static_cast<std::uint64_t>(XXH3_64bits(rest.data(), rest.size())));
    }
    file.bytes(rest);
    fuzz::writeFile(ofPatches ? kept.patchesFile : kept.gamesFile, file.written());

    const std::vector<pages::PatchRecord> patches = pages::patchesOf(kept.base.patches, kept.base.home_, fuzz::kBase);
    std::vector<pages::GameKeys> keys;
    const pages::GameDigests digests(kept.base.games, kept.base.home_, fuzz::kBase, keys,
                                     [](std::int64_t, const pages::GameKeys&) {});
    if (patches.size() != 2 || keys.size() != 3) __builtin_trap();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        digests.at(static_cast<std::int64_t>(i) + 1);
        pages::patchAt(patches, keys[i].patchPosition);
    }
    return 0;
}
