#include "core/dat/logiqx_reader.h"

#include "core/dat/dat_text.h"
#include "core/dat/rom_fields.h"
#include "core/text/not_text.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace gamarium::dat {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

const char* attribute(const XML_Char** attributes, const char* name) {
    for (; *attributes; attributes += 2)
        if (std::strcmp(attributes[0], name) == 0) return attributes[1];
    return nullptr;
}

// The parse's state. expat is C: no exception may pass through it, so a
// failure is kept here, the parser stopped, and the failure thrown after.
struct Reading {
    Reading(XML_Parser xml, DatContents& into, int firstLine) : parser(xml), contents(into), linesBefore(firstLine - 1) {}

    XML_Parser parser;
    DatContents& contents;
    int linesBefore;
    int depth = 0;
    bool inGame = false;
    bool romSeen = false;
    bool regionFromAttribute = false;
    bool inYear = false;
    DatGame game;
    std::string year;                // the game's <year>, metadata as clrmamepro's releaseyear
    int yearLine = 0;
    std::vector<std::uint32_t> crcs; // of every ROM of the game, which the year is given for
    std::optional<DamagedDat> failure;

    int line() const { return linesBefore + static_cast<int>(XML_GetCurrentLineNumber(parser)); }

    // An attribute the import takes, checked as text.
    const char* taken(const XML_Char** attributes, const char* name) const {
        const char* value = attribute(attributes, name);
        if (value) checkIsText(value, line());
        return value;
    }

    void fail(const DamagedDat& damaged) {
        if (!failure) failure = damaged;
        XML_StopParser(parser, XML_FALSE);
    }

    void startGame(const XML_Char** attributes) {
        game = DatGame{};
        game.line = line();
        inGame = true;
        romSeen = false;
        year.clear();
        crcs.clear();
        const char* name = taken(attributes, "name");
        if (name) game.name = name;
        const char* region = taken(attributes, "region");
        regionFromAttribute = region != nullptr;
        if (region) game.region = region;
        if (!name) inGame = false;
    }

    void rom(const XML_Char** attributes) {
        const char* size = attribute(attributes, "size");
        const char* crc = attribute(attributes, "crc");
        const std::optional<std::uint64_t> romSize = size ? std::optional(dat::romSize(size, line())) : std::nullopt;
        const std::optional<std::uint32_t> romCrc = crc ? std::optional(dat::romCrc(crc, line())) : std::nullopt;
        if (romCrc) crcs.push_back(*romCrc);
        if (romSeen) return;
        romSeen = true;
        if (const char* name = taken(attributes, "name")) game.romName = name;
        game.romSize = romSize;
        game.crc = romCrc;
    }

    void start(const XML_Char* element, const XML_Char** attributes) {
        ++depth;
        if (depth == 2 && (std::strcmp(element, "game") == 0 || std::strcmp(element, "machine") == 0)) {
            startGame(attributes);
        } else if (depth == 3 && inGame && std::strcmp(element, "rom") == 0) {
            rom(attributes);
        } else if (depth == 3 && inGame && std::strcmp(element, "release") == 0 && game.region.empty() &&
                   !regionFromAttribute) {
            if (const char* region = taken(attributes, "region")) game.region = region;
        } else if (depth == 3 && inGame && std::strcmp(element, "year") == 0 && year.empty()) {
            inYear = true; // the first year counts, as the first releaseyear of a clrmamepro game does
            yearLine = line();
        }
    }

    // No year is longer than this; the rest of a longer text is not kept.
    static constexpr std::size_t kLongestYear = 64;

    void text(std::string_view part) {
        if (inYear && year.size() < kLongestYear) year += part.substr(0, kLongestYear - year.size());
    }

    // The year is metadata of the game's ROMs, as a releaseyear of a
    // clrmamepro game is.
    void addYear() {
        // White space around the text is the file's layout.
        const std::size_t first = year.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) return;
        const std::string_view text =
            std::string_view(year).substr(first, year.find_last_not_of(" \t\r\n") + 1 - first);
        checkIsText(text, yearLine);
        Metadata said;
        said.releaseYear = std::string(text);
        for (const std::uint32_t crc : crcs) contents.metadata.fill(crc, said);
        ++contents.metadataEntries;
    }

    void end() {
        if (depth == 3) inYear = false;
        if (depth == 2 && inGame) {
            inGame = false;
            addYear();
            if (contents.games.size() >= kMostGames)
                throw DamagedDat(game.line, "игр больше " + std::to_string(kMostGames) + ", столько не вместит таблица");
            contents.games.push_back(std::move(game));
        }
        --depth;
    }
};

void XMLCALL onStart(void* data, const XML_Char* element, const XML_Char** attributes) {
    auto& reading = *static_cast<Reading*>(data);
    try {
        reading.start(element, attributes);
    } catch (const DamagedDat& damaged) {
        reading.fail(damaged);
    }
}

void XMLCALL onText(void* data, const XML_Char* text, int length) {
    static_cast<Reading*>(data)->text(std::string_view(text, static_cast<std::size_t>(length)));
}

void XMLCALL onEnd(void* data, const XML_Char*) {
    auto& reading = *static_cast<Reading*>(data);
    try {
        reading.end();
    } catch (const DamagedDat& damaged) {
        reading.fail(damaged);
    }
}

} // namespace

void readLogiqx(std::istream& in, DatContents& contents, int firstLine) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                              &XML_ParserFree);
    if (!parser) throw std::bad_alloc();
    Reading reading(parser.get(), contents, firstLine);
    XML_SetUserData(parser.get(), &reading);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    std::string chunk(kChunk, '\0');
    int linesRead = 0; // line ends of the chunks before
    for (;;) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<int>(in.gcount());
        if (in.bad()) throw Error("файл не читается");
        const std::string_view read(chunk.data(), static_cast<std::size_t>(got));
        if (const std::optional<text::NotText> nul = text::findNotText(read, text::TextKind::File))
            throw DamagedDat(firstLine + linesRead + static_cast<int>(std::count(read.begin(), read.begin() + nul->at, '\n')),
                             nul->reason);
        linesRead += static_cast<int>(std::count(read.begin(), read.end(), '\n'));
        const bool last = got < static_cast<int>(chunk.size());
        if (XML_Parse(parser.get(), chunk.data(), got, last ? XML_TRUE : XML_FALSE) == XML_STATUS_ERROR) {
            if (reading.failure) throw *reading.failure;
            throw DamagedDat(reading.line(), std::string("неверный XML: ") + XML_ErrorString(XML_GetErrorCode(parser.get())));
        }
        if (last) return;
    }
}

} // namespace gamarium::dat
