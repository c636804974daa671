// The picture sizes kept for a base (an SQLite file in the cache folder),
// read whole as a run over the base reads them or one by one as a preview
// does (the first byte of the input chooses; the file follows), then
// written again. A cache that cannot be read is made anew, and nothing is
// thrown; a size found is a picture's size.
#include "fields_input.h"
#include "fuzz_folder.h"
#include "program_files.h"

#include "core/pages/picture_size_cache.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    using pages::PictureSizeCache;
    if (size == 0) return 0;
    const files::Path& home = fuzz::folder();
    std::filesystem::remove_all(pages::cacheFolder(home));
    fuzz::writeFile(pages::pictureSizeCacheFile(home, fuzz::kBase), fuzz::asText(data + 1, size - 1));
    PictureSizeCache cache(home, fuzz::kBase, data[0] % 2 ? PictureSizeCache::Reading::AsAsked : PictureSizeCache::Reading::Whole);
    for (const char* picture : fuzz::kPictures)
        if (const auto found = cache.find(picture, fuzz::kPictureStamp); found && (found->width < 0 || found->height < 0))
            __builtin_trap();
    cache.keep("delta/delta.png", fuzz::kPictureStamp, {640, 480});
    cache.save(true);
    return 0;
}
