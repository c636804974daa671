#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace gamarium::cli {

// The usage text, made from the command table.
std::string usageText();

// Runs gamarium-cli on its arguments (UTF-8, without the program name):
// 0 on success, 1 with a one-line message on `err` on failure, 2 with the
// usage text on wrong usage. Without --home the program folder is the one
// the executable lies in.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace gamarium::cli
