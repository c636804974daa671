#pragma once

#include "error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What the public game databases say about a game: a DAT file's game entry
// and the metadata that other files give for its ROM's CRC32. Texts are
// UTF-8, as the files hold them.
namespace gamarium::dat {

struct DatGame {
    int line = 0;           // where its entry begins in the file
    std::string name;       // "Game (USA, Europe) (Rev 1)"
    std::string region;     // a region field or attribute: "USA", "Europe"...
    std::string romName;    // the first ROM's file name
    std::optional<std::uint64_t> romSize;
    std::optional<std::uint32_t> crc;
};

// The values of the metadata files for one CRC; unset where none says.
struct Metadata {
    std::optional<std::string> developer, publisher, releaseYear, genre, users;
};

using MetadataByCrc = std::unordered_map<std::uint32_t, Metadata>;

// What one file holds: games (a DAT), metadata, or both.
struct DatContents {
    std::vector<DatGame> games;
    MetadataByCrc metadata;
    std::size_t metadataEntries = 0; // entries that said something, CRCs repeated or not
};

// A file that cannot be read as it should: the line and the reason.
class DamagedDat : public Error {
public:
    DamagedDat(int line, const std::string& reason)
        : Error("строка " + std::to_string(line) + ": " + reason), line_(line), reason_(reason) {}
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

private:
    int line_;
    std::string reason_;
};

// A text of a file in «quotes» for a report, cut to its first 40 bytes
// (before a whole UTF-8 character) when longer.
inline std::string quotedForReport(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    if (text.size() <= kLongest) return "«" + std::string(text) + "»";
    std::size_t end = kLongest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "«" + std::string(text.substr(0, end)) + "…»";
}

// More games than a table can number (N is a 16-bit number).
inline constexpr std::size_t kMostGames = 32767;

} // namespace gamarium::dat
