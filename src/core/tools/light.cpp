#include "tools/light.h"

#include "error.h"
#include "files/no_case_lookup.h"
#include "store/table.h"
#include "text/cp1251.h"

#include <filesystem>
#include <fstream>

namespace gamarium::tools {
namespace {

std::string shown(const files::Path& file) {
    const auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

} // namespace

void copydated(const files::Path& source, const files::Path& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw Error("Cannot open file " + shown(source));
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) throw Error("Cannot create file " + shown(target));
    out << in.rdbuf();
    out.close();
    if (!out || in.bad()) throw Error("Cannot create file " + shown(target));
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(source, ec);
    if (!ec) std::filesystem::last_write_time(target, time, ec);
}

void makeLightSet(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                  const Progress& progress) {
    const files::Path light = files::findNoCase(pictureRoot, "light");
    files::makeFolder(light);
    files::NoCaseLookup pictures;
    games.first();
    const int count = games.recordCount();
    for (int i = 1; i <= count; ++i) {
        const std::string sid = games.fieldByName("Sid").asString();
        const std::string name = games.fieldByName("Image1").asString();
        const files::Path folder = files::findNoCase(light, sid);
        files::makeFolder(folder);
        if (!name.empty()) {
            const files::Path sourceFolder = pictures.find(pictureRoot, sid);
            if (pictures.hasFile(sourceFolder, name))
                copydated(pictures.find(sourceFolder, name), folder / files::toPath(name));
            else
                report(text::fromUtf8("Не могу найти ") + name);
        }
        if (progress) progress(i, count);
        games.next();
    }
    report(text::fromUtf8("Создание списка Light завершено!"));
}

} // namespace gamarium::tools
