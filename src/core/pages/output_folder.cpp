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

} // namespace

OutputFolder::OutputFolder(std::string_view typed) : folder_(files::toPath(typed)) {
    std::error_code error;
    if (typed.empty() || !std::filesystem::is_directory(folder_, error))
        throw Error("Папка для создаваемых страничек «" + text::toUtf8(typed) + "» не найдена. Страницы не созданы.");
}

bool OutputFolder::writePage(std::string_view name, std::string_view bytes) {
    const files::Path file = names_.find(folder_, name);
    if (names_.hasFile(folder_, name) && holds(file, bytes))
        return false;
    files::writeFileReplacing(file, bytes);
    return true;
}

} // namespace gamarium::pages
