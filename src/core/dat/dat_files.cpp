#include "core/dat/dat_files.h"

#include "core/dat/clrmamepro_reader.h"
#include "core/dat/logiqx_reader.h"

#include <fstream>

namespace gamarium::dat {
namespace {

// Skips a byte order mark and white space; true when "<" comes next.
// `lines` counts the line ends skipped.
bool looksLikeXml(std::istream& in, int& lines) {
    std::streambuf& buffer = *in.rdbuf();
    for (const unsigned char mark : {0xEF, 0xBB, 0xBF}) {
        if (buffer.sgetc() != mark) break;
        buffer.sbumpc();
    }
    for (int c = buffer.sgetc(); c != EOF; c = buffer.snextc()) {
        if (c == '\n') ++lines;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return c == '<';
    }
    return false;
}

std::string shownPath(const files::Path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace

void readDatStream(std::istream& in, DatContents& contents) {
    if (!in.rdbuf()) return;
    int lines = 0;
    if (looksLikeXml(in, lines))
        readLogiqx(in, contents, 1 + lines);
    else
        readClrmamepro(in, contents, 1 + lines);
}

DatContents readDatFiles(const std::vector<files::Path>& paths) {
    DatContents all;
    all.metadata.reserve(kMostGames); // a whole console's metadata without a rehash
    const files::Path* datPath = nullptr;
    for (const files::Path& path : paths) {
        const std::string shown = shownPath(path);
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Error(shown + ": файл не открывается");
        const std::size_t games = all.games.size(), entries = all.metadataEntries;
        try {
            readDatStream(in, all);
        } catch (const Error& e) {
            throw Error(shown + ", " + e.what());
        }
        if (all.games.size() == games && all.metadataEntries == entries)
            throw Error(shown + ": ни игр DAT, ни метаданных (developer, publisher, releaseyear, genre, users)");
        if (all.games.size() != games) {
            if (datPath) throw Error(shown + ": второй файл DAT (игры уже взяты из " + shownPath(*datPath) + ")");
            datPath = &path;
        }
    }
    if (!datPath) throw Error("Среди файлов нет DAT-файла с играми.");
    return all;
}

} // namespace gamarium::dat
