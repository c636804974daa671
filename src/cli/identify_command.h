#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace gamarium::cli {

// `gamarium-cli identify FILE...`: decodes each picture file (UTF-8 paths)
// as the program would show it and prints "FILE<TAB>WIDTH<TAB>HEIGHT", or
// "FILE<TAB>error: REASON" for a file that cannot be decoded, all on `out`
// (`err` is kept for the command's signature: a decoding failure is a
// result, not an error). Returns 1 if any file could not be decoded, else 0.
int runIdentify(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

} // namespace gamarium::cli
