#pragma once

#include "files/files.h"

// What differs between the systems the program runs on.
namespace gamarium::files {

// The folder that holds the running executable.
Path executableFolder();

// Whether this process may change the file or folder (false also on a
// read-only medium). Root passes the permission bits, as the system lets it.
bool isWritable(const Path& path);

} // namespace gamarium::files
