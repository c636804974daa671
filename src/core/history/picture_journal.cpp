#include "core/history/picture_journal.h"

#include "core/error.h"
#include "core/files/content_hash.h"
#include "core/files/files.h"


namespace gamarium::history {
namespace {

std::string utf8Of(const files::Path& path) {
    const auto u8 = path.generic_u8string();
    return std::string(u8.begin(), u8.end());
}

// Inside the program folder a path is kept relative to it, so that a
// folder moved whole keeps its points.
std::string pathText(const files::Path& home, const files::Path& path) {
    const std::string text = shownPath(home, path);
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::optional<files::Path> pathFromText(const files::Path& home, std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
        case '\\': plain += '\\'; break;
        case 't': plain += '\t'; break;
        case 'n': plain += '\n'; break;
        case 'r': plain += '\r'; break;
        default: return std::nullopt;
        }
    }
    if (plain.empty()) return std::nullopt;
    const files::Path path(std::u8string(plain.begin(), plain.end()));
    return path.is_absolute() ? path : home / path;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return parts;
        start = tab + 1;
    }
}

// The file's content hash, or "-" when it cannot be read.
std::string contentHash(const files::Path& file) {
    try {
        return files::hashOfFile(file);
    } catch (const Error&) {
        return "-";
    }
}

} // namespace

std::string shownPath(const files::Path& home, const files::Path& path) {
    const files::Path relative = path.lexically_relative(home);
    const bool inside = !relative.empty() && *relative.begin() != "..";
    return utf8Of(inside ? relative : path);
}

JournalFile::JournalFile(files::Path home, files::Path file)
    : home_(std::move(home)), file_(std::move(file)), out_(file_, std::ios::binary | std::ios::app) {
    if (!out_) throw Error("Не удаётся открыть журнал точки восстановления «" + utf8Of(file_) + "».");
}

void JournalFile::moving(const files::Path& from, const files::Path& to) {
    add("move", from, to);
}

void JournalFile::copying(const files::Path& from, const files::Path& to) {
    add("copy", from, to);
}

void JournalFile::add(const char* kind, const files::Path& from, const files::Path& to) {
    out_ << kind << '\t' << pathText(home_, from) << '\t' << pathText(home_, to) << '\t' << contentHash(from)
         << '\n';
    out_.flush();
    if (!out_)
        throw Error("Не удаётся записать журнал точки восстановления (нет места на диске?); файл «" +
                    shownPath(home_, to) + "» не тронут.");
}

std::vector<JournalEntry> readJournal(const files::Path& home, const files::Path& file) {
    std::vector<JournalEntry> entries;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return entries;
    const std::string content = files::readFile(file);
    std::size_t start = 0, lineNumber = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        ++lineNumber;
        const std::vector<std::string_view> parts = splitTabs(std::string_view(content).substr(start, end - start));
        const auto damaged = [&] {
            return Error("Журнал картинок «" + utf8Of(file) + "» повреждён (строка " + std::to_string(lineNumber) + ").");
        };
        if (parts.size() != 4 || (parts[0] != "move" && parts[0] != "copy")) throw damaged();
        JournalEntry entry;
        entry.kind = parts[0] == "move" ? JournalEntry::Kind::Move : JournalEntry::Kind::Copy;
        const auto from = pathFromText(home, parts[1]), to = pathFromText(home, parts[2]);
        if (!from || !to) throw damaged();
        entry.from = *from;
        entry.to = *to;
        if (parts[3] != "-") {
            if (parts[3].size() != 32 || parts[3].find_first_not_of("0123456789abcdef") != std::string_view::npos)
                throw damaged();
            entry.hash = std::string(parts[3]);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace gamarium::history
