#pragma once

#include "core/files/files.h"

#include <string>

// Where each base's folders were last published: the URL the window
// offers next time, kept in the program folder (publish/places.db).
namespace gamarium::publish {

// The URL last used for `folder` of `base` (UTF-8 base name); empty when none.
std::string rememberedAddress(const files::Path& home, const std::string& base, const files::Path& folder);
void rememberAddress(const files::Path& home, const std::string& base, const files::Path& folder,
                     const std::string& url);

} // namespace gamarium::publish
