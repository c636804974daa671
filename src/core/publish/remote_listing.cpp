#include "core/publish/remote_listing.h"

#include <charconv>

namespace gamarium::publish {
namespace {

// Calls `each` with every line of a listing, without its CR LF or LF.
template <typename Each>
void forEachLine(std::string_view listing, Each each) {
    while (!listing.empty()) {
        const std::size_t end = listing.find('\n');
        std::string_view line = listing.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) each(line);
        if (end == std::string_view::npos) break;
        listing.remove_prefix(end + 1);
    }
}

std::uint64_t number(std::string_view text) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

// Whether a listed name is one entry inside the folder: a broken or hostile
// server may send any bytes for it.
bool namesEntry(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

} // namespace

std::string remoteFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string remoteNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joinRemotePath(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

std::vector<RemoteEntry> parseMlsd(std::string_view listing) {
    std::vector<RemoteEntry> entries;
    forEachLine(listing, [&](std::string_view line) {
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos || !namesEntry(line.substr(space + 1))) return;
        RemoteEntry entry;
        entry.name = std::string(line.substr(space + 1));
        std::string_view facts = line.substr(0, space);
        while (!facts.empty()) {
            const std::size_t end = facts.find(';');
            const std::string_view fact = facts.substr(0, end);
            const std::size_t equals = fact.find('=');
            if (equals != std::string_view::npos) {
                const std::string_view key = fact.substr(0, equals), value = fact.substr(equals + 1);
                if (equalsNoCase(key, "type")) entry.isFile = equalsNoCase(value, "file");
                if (equalsNoCase(key, "size")) entry.size = number(value);
            }
            if (end == std::string_view::npos) break;
            facts.remove_prefix(end + 1);
        }
        entries.push_back(std::move(entry));
    });
    return entries;
}

std::vector<RemoteEntry> parseLongListing(std::string_view listing) {
    std::vector<RemoteEntry> entries;
    forEachLine(listing, [&](std::string_view line) {
        // Eight columns: mode, links, owner, group, size, month, day, time or year.
        std::string_view rest = line;
        std::string_view columns[8];
        for (std::string_view& column : columns) {
            const std::size_t start = rest.find_first_not_of(' ');
            if (start == std::string_view::npos) return;
            rest.remove_prefix(start);
            const std::size_t end = std::min(rest.find(' '), rest.size());
            column = rest.substr(0, end);
            rest.remove_prefix(end);
        }
        if (rest.empty()) return;
        rest.remove_prefix(1);
        RemoteEntry entry;
        entry.isFile = columns[0].front() == '-';
        if (columns[0].front() == 'l') {
            if (const std::size_t arrow = rest.find(" -> "); arrow != std::string_view::npos) rest = rest.substr(0, arrow);
        }
        if (!namesEntry(rest)) return;
        entry.name = std::string(rest);
        entry.size = number(columns[4]);
        entries.push_back(std::move(entry));
    });
    return entries;
}

} // namespace gamarium::publish
