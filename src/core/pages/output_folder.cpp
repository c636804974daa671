#include "pages/output_folder.h"

#include "error.h"
#include "text/cp1251.h"

#include <system_error>

namespace gamarium::pages {
namespace {

bool holds(const files::Path& file, std::string_view bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || std::filesystem::file_size(file, error) != bytes.size() ||
        error)
        return false;
    try {
        return files::readFile(file, bytes.size()) == bytes;
    } catch (const Error&) {
        return false; // unreadable: written anew
    }
}

files::Path existingFolder(std::string_view typed) {
    const files::Path folder = files::toPath(typed);
    std::error_code error;
    if (typed.empty() || !std::filesystem::is_directory(folder, error))
        throw Error("Папка для создаваемых страничек «" + text::toUtf8(typed) + "» не найдена. Страницы не созданы.");
    return folder;
}

} // namespace

OutputFolder::OutputFolder(std::string_view typed) : folder_(existingFolder(typed)) {}

bool OutputFolder::writePage(std::string_view name, std::string_view bytes) {
    const files::Path file = folder_.find(name);
    if (folder_.holds(name) && holds(file, bytes))
        return false;
    files::writeFileReplacing(file, bytes);
    folder_.add(files::nameText(file));
    return true;
}

} // namespace gamarium::pages
