#include "files/no_case_lookup.h"

#include "text/cp1251.h"

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
        std::string name = nameText(it->path());
        listing.byFoldedName.try_emplace(folded(name), it->path());
        listing.exact.insert(std::move(name));
    }
    return listing;
}

Path NoCaseLookup::find(const Path& folder, std::string_view name) {
    const Path exact = folder / toPath(name);
    if (name.empty()) return exact;
    const Listing& entries = listing(folder);
    if (entries.exact.count(std::string(name))) return exact;
    const auto match = entries.byFoldedName.find(folded(name));
    return match == entries.byFoldedName.end() ? exact : match->second;
}

} // namespace gamarium::files
