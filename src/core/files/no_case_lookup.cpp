#include "core/files/no_case_lookup.h"

#include "core/text/cp1251.h"

#include <system_error>

namespace gamarium::files {
namespace {

std::string folded(std::string_view name) {
    std::string result(name);
    for (char& c : result) c = text::upper(c);
    return result;
}

} // namespace

const NoCaseLookup::Listing& NoCaseLookup::listing(const Path& folder) {
    const auto known = folders_.find(folder);
    if (known != folders_.end()) return known->second;
    Listing& listing = folders_[folder];
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = nameText(it->path()).bytes();
        // As fileExists counts: anything but a folder, a link followed.
        std::error_code typeError;
        const bool isFile = it->exists(typeError) && !it->is_directory(typeError);
        listing.byFoldedName.try_emplace(folded(name), Entry{it->path(), isFile});
        listing.exact.try_emplace(std::move(name), isFile);
    }
    return listing;
}

Path NoCaseLookup::find(const Path& folder, const text::StoredText& name) {
    const Path exact = folder / toPath(name);
    if (name.empty()) return exact;
    const Listing& entries = listing(folder);
    if (entries.exact.count(name.bytes())) return exact;
    const auto match = entries.byFoldedName.find(folded(name.bytes()));
    return match == entries.byFoldedName.end() ? exact : match->second.path;
}

bool NoCaseLookup::hasFile(const Path& folder, const text::StoredText& name) {
    if (name.empty() || name.bytes().find_first_of("/\\") != std::string::npos)
        return fileExists(find(folder, name)); // a path into a subfolder: not in this listing
    const Listing& entries = listing(folder);
    if (const auto exact = entries.exact.find(name.bytes()); exact != entries.exact.end()) return exact->second;
    const auto match = entries.byFoldedName.find(folded(name.bytes()));
    return match != entries.byFoldedName.end() && match->second.isFile;
}

} // namespace gamarium::files
