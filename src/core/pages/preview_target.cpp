#include "core/pages/preview_target.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/pages/cache_file.h"
#include "core/pages/file_url.h"
#include "core/store/catalogue.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <sstream>

namespace gamarium::pages {
namespace fs = std::filesystem;
namespace {

// The stamps of the last previews written, newest last.
constexpr std::size_t kPreviewsKept = 64;

files::Path noteFile(const files::Path& home) {
    return cacheFolder(home) / "previews";
}

std::string stampText(const files::FileStamp& stamp) {
    return std::to_string(stamp.identity) + ' ' + std::to_string(stamp.size) + ' ' + std::to_string(stamp.changed);
}

std::vector<std::string> notedStamps(const files::Path& home) {
    std::vector<std::string> stamps;
    try {
        std::istringstream lines(files::readFile(noteFile(home), 1 << 16));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) stamps.push_back(line);
    } catch (const Error&) {
        // No note yet, or none that can be read: no preview is known.
    }
    return stamps;
}

// The path with its links and dots resolved as far as it exists.
files::Path resolved(const files::Path& path) {
    std::error_code ec;
    files::Path full = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::absolute(path) : full;
}

// Names equal but for the case of Latin letters, as file systems that do
// not tell them apart take them.
bool sameName(const files::Path& a, const files::Path& b) {
    const auto& x = a.native();
    const auto& y = b.native();
    const auto lower = [](auto c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [&](auto p, auto q) { return lower(p) == lower(q); });
}

bool isInside(const files::Path& file, const files::Path& folder) {
    auto inner = file.begin();
    for (const files::Path& part : folder) {
        if (part.empty()) continue; // a trailing separator
        if (inner == file.end() || !sameName(*inner, part)) return false;
        ++inner;
    }
    return inner != file.end();
}

} // namespace

void checkPreviewTarget(const files::Path& home, const files::Path& templateFile, const files::Path& file,
                        bool overwrite) {
    const files::Path target = resolved(file);
    const std::pair<files::Path, const char*> kept[] = {
        {store::basesFolder(home), "таблицы баз"}, {store::imagesFolder(home), "картинки"}, {cacheFolder(home), "кэш"}};
    for (const auto& [folder, what] : kept)
        if (isInside(target, resolved(folder)))
            throw Error("предпросмотр не пишется туда, где программа хранит " + std::string(what) + ": «" +
                        files::shownPath(file) + "»");
    std::error_code ec;
    if (fs::equivalent(target, resolved(templateFile), ec))
        throw Error("предпросмотр не пишется поверх своего шаблона «" + files::shownPath(file) + "»");
    if (overwrite || !fs::exists(fs::symlink_status(file, ec))) return;
    const auto stamp = files::fileStamp(file);
    const std::vector<std::string> noted = notedStamps(home);
    if (!stamp || std::find(noted.begin(), noted.end(), stampText(*stamp)) == noted.end())
        throw Error("файл «" + files::shownPath(file) +
                    "» уже есть, и это не прежний предпросмотр; чтобы записать поверх, добавьте --force");
}

BrowserPreview browserPreviewFiles(const files::Path& home, std::string_view base) {
    const files::Path folder = cacheFolder(home) / "preview";
    const std::string name = text::lower(base);
    return {folder / files::toPath(text::StoredText::fromCp1251(name + ".htm")),
            folder / files::toPath(text::StoredText::fromCp1251(name + "-open.htm"))};
}

std::string openerPage(const BrowserPreview& preview, std::string_view anchor) {
    const std::string target = percentEncoded(text::toUtf8(files::nameText(preview.page))) + "#" + std::string(anchor);
    return "<!DOCTYPE html>\r\n<meta charset=\"utf-8\">\r\n<meta http-equiv=\"refresh\" content=\"0; url=" + target +
           "\">\r\n<a href=\"" + target + "\">" + target + "</a>\r\n";
}

void notePreviewWritten(const files::Path& home, const files::Path& file) {
    const auto stamp = files::fileStamp(file);
    if (!stamp) return;
    std::vector<std::string> noted = notedStamps(home);
    noted.push_back(stampText(*stamp));
    if (noted.size() > kPreviewsKept) noted.erase(noted.begin(), noted.end() - kPreviewsKept);
    std::string text;
    for (const std::string& line : noted) text += line + '\n';
    try {
        files::makeFolder(cacheFolder(home));
        files::writeFileReplacing(noteFile(home), text);
    } catch (const Error&) {
        // Only the next preview over this file asks for --force.
    }
}

} // namespace gamarium::pages
