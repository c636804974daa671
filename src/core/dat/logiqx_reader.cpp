#include "core/dat/logiqx_reader.h"

#include "core/dat/rom_fields.h"

#include <expat.h>

#include <cstring>
#include <memory>

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
    DatGame game;
    std::optional<DamagedDat> failure;

    int line() const { return linesBefore + static_cast<int>(XML_GetCurrentLineNumber(parser)); }

    void fail(const DamagedDat& damaged) {
        if (!failure) failure = damaged;
        XML_StopParser(parser, XML_FALSE);
    }

    void startGame(const XML_Char** attributes) {
        game = DatGame{};
        game.line = line();
        inGame = true;
        romSeen = false;
        const char* name = attribute(attributes, "name");
        if (name) game.name = name;
        const char* region = attribute(attributes, "region");
        regionFromAttribute = region != nullptr;
        if (region) game.region = region;
        if (!name) inGame = false;
    }

    void rom(const XML_Char** attributes) {
        const char* size = attribute(attributes, "size");
        const char* crc = attribute(attributes, "crc");
        const std::optional<std::uint64_t> romSize = size ? std::optional(dat::romSize(size, line())) : std::nullopt;
        const std::optional<std::uint32_t> romCrc = crc ? std::optional(dat::romCrc(crc, line())) : std::nullopt;
        if (romSeen) return;
        romSeen = true;
        if (const char* name = attribute(attributes, "name")) game.romName = name;
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
            if (const char* region = attribute(attributes, "region")) game.region = region;
        }
    }

    void end() {
        if (depth == 2 && inGame) {
            inGame = false;
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
    std::string chunk(kChunk, '\0');
    for (;;) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<int>(in.gcount());
        if (in.bad()) throw Error("файл не читается");
        const bool last = got < static_cast<int>(chunk.size());
        if (XML_Parse(parser.get(), chunk.data(), got, last ? XML_TRUE : XML_FALSE) == XML_STATUS_ERROR) {
            if (reading.failure) throw *reading.failure;
            throw DamagedDat(reading.line(), std::string("неверный XML: ") + XML_ErrorString(XML_GetErrorCode(parser.get())));
        }
        if (last) return;
    }
}

} // namespace gamarium::dat
