#pragma once

#include "files/files.h"

namespace gamarium::files {

// The folder that holds the running executable.
Path executableFolder();

} // namespace gamarium::files
