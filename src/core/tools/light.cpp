#include "core/tools/light.h"

#include "core/error.h"
#include "core/files/no_case_lookup.h"
#include "core/files/plain_name.h"
#include "core/files/system.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"

#include <filesystem>
#include <set>

namespace gamarium::tools {
namespace {

std::string shown(const files::Path& file) {
    const auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

// A name from the table as a status line may show it.
text::StoredText shownName(const text::StoredText& name) {
    return text::fromUtf8(text::printable(text::toUtf8(name)));
}

// Copies one game's first picture, or reports why not.
void copyFirstPicture(files::NoCaseLookup& pictures, const files::Path& pictureRoot, const files::Path& light,
                      const text::StoredText& sid, const text::StoredText& name, const StatusSink& report) {
    if (!files::isPlainName(sid.bytes())) {
        report(text::fromUtf8("Не копирую ") + shownName(name) + text::fromUtf8(": группа картинок «") +
               shownName(sid) + text::fromUtf8("» не может быть именем папки"));
    } else if (!files::isPlainName(name.bytes())) {
        report(text::fromUtf8("Не копирую ") + shownName(name) +
               text::fromUtf8(": это не имя файла в папке картинок игры"));
    } else if (const files::Path folder = pictures.find(pictureRoot, sid); pictures.hasFile(folder, name)) {
        copydated(pictures.find(folder, name), files::findNoCase(light, sid) / files::toPath(name));
    } else {
        report(text::fromUtf8("Не могу найти ") + name);
    }
}

} // namespace

void copydated(const files::Path& source, const files::Path& target) {
    std::error_code ec;
    if (std::filesystem::equivalent(source, target, ec))
        throw Error("Cannot create file " + shown(target) + ": это и есть копируемый файл " + shown(source));
    const files::FileReader in(source);
    if (!in.open()) throw Error("Cannot open file " + shown(source));
    std::string bytes(static_cast<std::size_t>(in.size()), '\0');
    if (in.readAt(0, bytes.data(), bytes.size()) != bytes.size()) throw Error("Cannot open file " + shown(source));
    files::writeFileReplacing(target, bytes);
    const auto time = std::filesystem::last_write_time(source, ec);
    if (!ec) std::filesystem::last_write_time(target, time, ec);
}

void makeLightSet(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                  const Progress& progress) {
    const store::Table::ManyChanges many(games);
    const files::Path light = files::findNoCase(pictureRoot, "light"_stored);
    files::makeFolder(light);
    files::NoCaseLookup pictures;
    std::set<text::StoredText> cleaned;
    games.first();
    const int count = games.recordCount();
    for (int i = 1; i <= count; ++i) {
        const text::StoredText sid = games.field(store::games::Sid).asString();
        const text::StoredText name = games.field(store::games::Image1).asString();
        // A Sid or a picture name that could lead out of the picture
        // folders is refused for that game alone.
        if (files::isPlainName(sid.bytes())) {
            const files::Path folder = files::findNoCase(light, sid);
            files::makeFolder(folder);
            // The copy a killed run was writing goes before this run copies there.
            if (cleaned.insert(text::lower(sid)).second) files::removeTemporaries(folder);
        }
        if (!name.empty()) copyFirstPicture(pictures, pictureRoot, light, sid, name, report);
        if (progress) progress(i, count);
        games.next();
    }
    report(text::fromUtf8("Создание списка Light завершено!"));
}

} // namespace gamarium::tools
