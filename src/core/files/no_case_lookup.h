#pragma once

#include "core/files/files.h"

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

namespace gamarium::files {

// findNoCase for work that looks up many names in a few folders (a check
// over every game's pictures, the pages of a site): each folder is listed
// once, so a name that is missing costs no new listing. Entries made or
// removed after a folder was listed are not seen.
class NoCaseLookup {
public:
    // The same answer as findNoCase(folder, name).
    Path find(const Path& folder, const text::StoredText& name);

    // fileExists(find(folder, name)), told from the listing without asking
    // the system again.
    bool hasFile(const Path& folder, const text::StoredText& name);

private:
    struct Entry {
        Path path;
        bool isFile = false;
    };
    struct Listing {
        std::unordered_map<std::string, bool> exact;         // names as they are, whether a file
        std::unordered_map<std::string, Entry> byFoldedName; // the first entry of each name in upper case
    };
    const Listing& listing(const Path& folder);

    std::map<Path, Listing> folders_;
};

} // namespace gamarium::files
