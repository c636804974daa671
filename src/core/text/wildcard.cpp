#include "core/text/wildcard.h"

#include "core/text/cp1251.h"

namespace gamarium::text {
namespace {

// Iterative glob match with backtracking to the last '*': linear in practice
// and never recursive, so a long pattern cannot blow the stack.
bool globMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    if (globMatch(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return globMatch(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

} // namespace gamarium::text
