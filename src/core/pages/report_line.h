#pragma once

#include "core/pages/generator.h"

#include <string>

namespace gamarium::pages {

// The line that closes a run, as the window shows it and the command line
// prints it (UTF-8): how many pages were written and how many were left
// untouched because they had not changed.
std::string reportLine(const GenerationReport& report);

} // namespace gamarium::pages
