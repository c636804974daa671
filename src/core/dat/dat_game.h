#pragma once

#include "core/error.h"

#include <cstdint>
#include <optional>
#include <string>
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

// The metadata of the files, by CRC. The values lie side by side and the
// index holds only their places: a whole console's metadata is looked up
// five times over while it is read.
class MetadataByCrc {
public:
    // The metadata of `crc`, added empty when there is none yet.
    Metadata& operator[](std::uint32_t crc) {
        const auto [at, added] = index_.try_emplace(crc, values_.size());
        if (added) values_.emplace_back();
        return values_[at->second];
    }
    // Gives the metadata of `crc` the values it lacks that `said` has: a
    // value already known for a CRC stays.
    void fill(std::uint32_t crc, const Metadata& said) {
        Metadata& known = (*this)[crc];
        for (auto [to, from] : {std::pair{&known.developer, &said.developer}, {&known.publisher, &said.publisher},
                                {&known.releaseYear, &said.releaseYear}, {&known.genre, &said.genre},
                                {&known.users, &said.users}})
            if (!*to && *from) *to = *from;
    }
    const Metadata* find(std::uint32_t crc) const {
        const auto at = index_.find(crc);
        return at == index_.end() ? nullptr : &values_[at->second];
    }
    void reserve(std::size_t count) {
        index_.reserve(count);
        values_.reserve(count);
    }
    bool empty() const { return values_.empty(); }
    const std::vector<Metadata>& values() const { return values_; }

private:
    std::unordered_map<std::uint32_t, std::size_t> index_;
    std::vector<Metadata> values_;
};

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

// More games than a table can number (N is a 16-bit number).
inline constexpr std::size_t kMostGames = 32767;

} // namespace gamarium::dat
