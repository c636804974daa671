#pragma once

#include "core/files/files.h"
#include "core/files/system.h"
#include "core/pages/cache_file.h"
#include "core/pictures/picture.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace gamarium::pages {

// The sizes of a base's pictures, kept between runs of the generator in
// cache/<base>.sizes of the program folder, by each file's path and stamp:
// a picture whose stamp is as it was is not opened again. Used by one
// thread at a time.
class PictureSizeCache {
public:
    // A run over the whole base reads every kept size at once; a page or
    // two read only the sizes they ask for.
    enum class Reading { Whole, AsAsked };
    PictureSizeCache(const files::Path& home, std::string_view base, Reading reading);

    // The size kept for the picture `key` (its path below images/<base>/)
    // when `stamp` is still the one it was kept with.
    std::optional<pictures::PictureSize> find(const std::string& key, const files::FileStamp& stamp);
    void keep(const std::string& key, const files::FileStamp& stamp, pictures::PictureSize size);

    // Writes what was learnt since the cache was opened. With
    // `forgetOthers`, the pictures not asked for since are dropped: a run
    // over the whole base asks for every picture a game names.
    void save(bool forgetOthers);

private:
    struct Entry {
        files::FileStamp stamp;
        pictures::PictureSize size;
        bool asked = false;
        bool learnt = false;
    };
    using Entries = std::unordered_map<std::string, Entry>;
    // The kept entry of `key` read from the file, or entries_.end().
    Entries::iterator readEntry(const std::string& key);

    Reading reading_;
    Entries entries_;
    CacheFile file_;
};

// The file that holds a base's cache.
files::Path pictureSizeCacheFile(const files::Path& home, std::string_view base);

} // namespace gamarium::pages
