#include "files/no_case_folder.h"

#include "text/cp1251.h"

#include <system_error>

namespace gamarium::files {

NoCaseFolder::NoCaseFolder(Path folder) : folder_(std::move(folder)) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = nameText(it->path());
        byUpperCase_.try_emplace(text::upper(name), it->path());
        exact_.insert(std::move(name));
    }
}

Path NoCaseFolder::find(std::string_view name) const {
    if (!name.empty() && !exact_.contains(std::string(name)))
        if (const auto it = byUpperCase_.find(text::upper(name)); it != byUpperCase_.end()) return it->second;
    return folder_ / toPath(name);
}

bool NoCaseFolder::holds(std::string_view name) const {
    return exact_.contains(std::string(name)) || byUpperCase_.contains(text::upper(name));
}

void NoCaseFolder::add(std::string_view name) {
    if (exact_.emplace(name).second) byUpperCase_.try_emplace(text::upper(name), folder_ / toPath(name));
}

} // namespace gamarium::files
