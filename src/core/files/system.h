#pragma once

#include "files/files.h"

// What differs between the systems the program runs on.
namespace gamarium::files {

// The folder that holds the running executable.
Path executableFolder();

// Whether this process may change the file or folder (false also on a
// read-only medium). Root passes the permission bits, as the system lets it.
bool isWritable(const Path& path);

// Keeps memory the program frees for its next use instead of handing it
// back to the system at once. Every picture shown allocates and frees
// buffers of a megabyte or more; handed back, each next picture would pay
// for fresh zeroed pages (a third of a step through the editor's games).
void reuseFreedMemory();

} // namespace gamarium::files
