#pragma once

#include <array>
#include <string>
#include <string_view>

namespace gamarium::paradox {

// The code page an old table declares for its texts, and the way from it to
// Windows-1251. A table that declares none, or Windows-1251 itself, keeps
// its bytes; the DOS pages 437, 850 and 866 and Windows-1252 are converted.
class CodePage {
public:
    // Refuses a code page the program has no table for.
    explicit CodePage(int number);

    // The text in Windows-1251; each character that has no form there
    // becomes '?' and is added to `replaced`.
    std::string toCp1251(std::string_view text, int& replaced) const;

private:
    bool converts_ = false;
    std::array<char, 128> upper_{};
    std::array<bool, 128> missing_{};
};

} // namespace gamarium::paradox
