#include "core/dat/dat_files.h"

#include "core/dat/clrmamepro_reader.h"
#include "core/dat/logiqx_reader.h"

#include <fstream>
#include <system_error>

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
        const std::string shown = files::shownPath(path);
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::status(path, ec);
        if (!std::filesystem::exists(status)) throw Error(shown + ": нет такого файла");
        if (std::filesystem::is_directory(status)) throw Error(shown + ": это папка, а не файл");
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Error(shown + ": файл не открывается (нет доступа?)");
        const std::size_t games = all.games.size(), entries = all.metadataEntries;
        try {
            readDatStream(in, all);
        } catch (const Error& e) {
            throw Error(shown + ", " + e.what());
        } catch (const std::ios_base::failure&) {
            // A read the system refuses, thrown by the stream's buffer itself.
            throw Error(shown + ", файл не читается");
        }
        if (all.games.size() == games && all.metadataEntries == entries)
            throw Error(shown + ": ни игр DAT, ни метаданных (developer, publisher, releaseyear, genre, users)");
        if (all.games.size() != games) {
            if (datPath) throw Error(shown + ": второй файл DAT (игры уже взяты из " + files::shownPath(*datPath) + ")");
            datPath = &path;
        }
    }
    if (!datPath) throw Error("Среди файлов нет DAT-файла с играми.");
    return all;
}

} // namespace gamarium::dat
