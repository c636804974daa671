#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>

// Addresses the generator writes into pages and maps.
namespace gamarium::pages {

// `utf8` as a part of an address: every byte beyond ASCII letters, digits,
// "-._~" and those in `alsoKept` percent-encoded, so that it is plain ASCII.
std::string percentEncoded(std::string_view utf8, std::string_view alsoKept = {});

// A file:// URL of a file on the disk.
std::string fileUrl(const files::Path& file);

} // namespace gamarium::pages
