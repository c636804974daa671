#pragma once

#include "core/files/files.h"
#include "core/files/system.h"
#include "core/pages/cache_file.h"
#include "core/pages/input_hash.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace gamarium::pages {

// What the generator knows of the pages it wrote into one output folder:
// for each page, the digests of what went into it (of its games' records,
// and of those with its pictures' sizes) and the stamp its file had then. Kept in the program's cache folder, never in the output folder, so
// that it is never published with the site.
class PageRecord {
public:
    PageRecord(const files::Path& home, const files::Path& outputFolder);

    // True when the page `name` was last made of these records: a page
    // that was not is made, whatever its pictures.
    bool sameRecords(std::string_view name, const InputHash::Digest& records) const;
    // True when the page `name` would come out as its file stands: its
    // inputs are those recorded, and the file is the one the record saw.
    bool unchanged(std::string_view name, const InputHash::Digest& inputs,
                   const std::optional<files::FileStamp>& file) const;
    // The page as this run leaves it.
    void note(std::string_view name, const InputHash::Digest& records, const InputHash::Digest& inputs,
              const files::FileStamp& file);

    // The pages of earlier runs that this run has not noted, each with the
    // stamp its file had when it was made.
    std::vector<std::pair<std::string, files::FileStamp>> notNoted() const;

    // Writes the pages noted; the pages of earlier runs that this run did
    // not note are dropped. Passes over a record that cannot be written.
    void save();

private:
    struct Page {
        InputHash::Digest records{}, inputs{};
        files::FileStamp file;
        bool noted = false;
        bool changed = false;
    };
    std::string folder_;
    std::unordered_map<std::string, Page> pages_;
    CacheFile file_;
};

// The file that holds the record of an output folder: one per folder,
// named by a digest of its full path.
files::Path pageRecordFile(const files::Path& home, const files::Path& outputFolder);

} // namespace gamarium::pages
