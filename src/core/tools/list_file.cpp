#include "core/tools/list_file.h"

#include "core/error.h"
#include "core/files/plain_name.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/not_text.h"

namespace gamarium::tools {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// cuttag(text, open) repeated until the text holds no `open`. The text
// before the first tag is what cuttag's head would be, so the tags are cut
// one after the other while the text is read once.
std::string cutEveryTag(std::string_view text, char open, char closing) {
    std::string result;
    bool closed = true; // false once no closing character follows
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != open) {
            result += text[i++];
            continue;
        }
        if (!result.empty() && (result.back() == ' ' || result.back() == '_')) result.pop_back();
        const std::size_t close = closed ? text.find(closing, i + 1) : std::string_view::npos;
        closed = close != std::string_view::npos;
        i = closed ? close + 1 : i + 1;
    }
    return result;
}

} // namespace

std::string cuttag(std::string_view text, std::string_view tag) {
    const std::size_t at = text.find(tag);
    if (at == std::string_view::npos) return std::string(text);
    const char closing = tag.front() == '[' ? ']' : ')';
    std::string_view head = text.substr(0, at);
    if (!head.empty() && (head.back() == ' ' || head.back() == '_')) head.remove_suffix(1);
    const std::string_view rest = text.substr(at + 1);
    const std::size_t close = rest.find(closing);
    const std::string_view tail = close == std::string_view::npos ? rest : rest.substr(close + 1);
    return std::string(head) + std::string(tail);
}

std::string cleanname(std::string_view namePart) {
    std::string w = cuttag(namePart, "[");
    w = cuttag(w, " + st bios (st");
    // Every tag in square brackets, then every one in parentheses, each
    // cut as cuttag cuts the first one left: in one pass each, so that a
    // line of many brackets costs no more than its length.
    return cutEveryTag(cutEveryTag(w, '[', ']'), '(', ')');
}

std::optional<ListGame> parseListLine(std::string_view line) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) return std::nullopt;
    const std::string name = cleanname(line.substr(0, semicolon));
    if (name.empty()) return std::nullopt;
    std::string region(line.substr(semicolon + 1));
    std::string sid;
    if (region == "hak") {
        sid = "hak";
    } else {
        if (region.empty()) region = "jue";
        sid = region.front() >= '0' && region.front() <= '9' ? "num" : std::string(1, text::lower(name.front()));
    }
    if (line.find("32X") != std::string_view::npos) sid = "32x";
    if (line.find("(PD)") != std::string_view::npos) sid = "pd";
    // A name beginning with "/" or "." would give a Sid that names no picture folder.
    if (!files::isPlainName(sid)) return std::nullopt;
    if (region == "pd" || region == "hak") region = "jue";
    return ListGame{text::StoredText::fromCp1251(name), text::StoredText::fromCp1251(sid),
                    text::StoredText::fromCp1251(region)};
}

std::vector<std::string> listLines(std::string_view file) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

ListFile readListFile(std::string_view bytes) {
    if (const std::optional<text::NotText> nul = text::findNotText(bytes, text::TextKind::File)) {
        // The line that holds it: the lines up to and with the NUL byte.
        const std::size_t line = listLines(bytes.substr(0, nul->at + 1)).size();
        throw Error("Строка " + std::to_string(line) + " списка: " + nul->reason + ". Ничего не добавлено.");
    }
    ListFile list;
    text::ExactText exact;
    if (bytes.starts_with(kByteOrderMark) || (!text::isAscii(bytes) && text::isUtf8(bytes))) {
        if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
        list.encoding = ListFile::Encoding::Utf8;
        exact = text::fromUtf8Exactly(bytes);
    } else {
        exact = text::fromCp1251Exactly(bytes);
    }
    if (!exact.problem.empty()) throw Error("Список: " + exact.problem + ". Ничего не добавлено.");
    list.text = std::move(exact.text);
    return list;
}

text::StoredText encodingLine(const ListFile& list) {
    return text::fromUtf8(list.encoding == ListFile::Encoding::Utf8 ? "Список прочитан в кодировке UTF-8."
                                                                     : "Список прочитан в кодировке Windows-1251.");
}

} // namespace gamarium::tools
