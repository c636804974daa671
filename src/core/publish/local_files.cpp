#include "core/publish/local_files.h"

#include "core/error.h"
#include "core/publish/content_hash.h"

#include <algorithm>
#include <system_error>

namespace gamarium::publish {
namespace fs = std::filesystem;

namespace {

bool holdsControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

} // namespace

std::vector<LocalFile> listLocalFiles(const files::Path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw Error("Папка «" + folder.string() + "» не найдена.");
    std::vector<LocalFile> found;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
    if (ec) throw Error("Не удаётся прочитать папку «" + folder.string() + "».");
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) throw Error("Не удаётся прочитать папку «" + folder.string() + "»: " + ec.message() + ".");
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || files::isTemporaryName(it->path().filename().string())) continue;
        LocalFile file;
        file.path = it->path().lexically_relative(folder).generic_string();
        if (holdsControlCharacter(file.path))
            throw Error("Имя файла «" + file.path + "» содержит управляющий символ: такой файл не отправляется.");
        file.size = it->file_size(typeError);
        file.hash = hashOfFile(it->path());
        found.push_back(std::move(file));
    }
    std::sort(found.begin(), found.end(), [](const LocalFile& a, const LocalFile& b) { return a.path < b.path; });
    return found;
}

} // namespace gamarium::publish
