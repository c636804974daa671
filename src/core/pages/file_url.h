#pragma once

#include "core/files/files.h"

#include <string>

namespace gamarium::pages {

// A file:// URL of a file on the disk, every byte beyond letters, digits
// and "-._~/" percent-encoded (as UTF-8), so that it is plain ASCII.
std::string fileUrl(const files::Path& file);

} // namespace gamarium::pages
