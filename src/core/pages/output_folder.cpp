#include "core/pages/output_folder.h"

#include "core/error.h"

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

namespace {

files::Path existingFolder(const files::Path& typed) {
    files::Path folder = files::withSlashes(typed);
    std::error_code error;
    if (typed.empty() || !std::filesystem::is_directory(folder, error)) {
        const auto shown = typed.u8string();
        throw Error("Папка для создаваемых страничек «" + std::string(shown.begin(), shown.end()) +
                    "» не найдена. Страницы не созданы.");
    }
    return folder;
}

} // namespace

OutputFolder::OutputFolder(const files::Path& typed) : folder_(existingFolder(typed)), open_(folder_) {}

void OutputFolder::removeTemporaries() const {
    files::removeTemporaries(folder_);
}

files::Path OutputFolder::pageFile(std::string_view name) {
    return names_.find(folder_, text::StoredText::fromCp1251(name));
}

std::optional<files::FileStamp> OutputFolder::pageStamp(const files::Path& file) const {
    return open_.stamp(file.filename());
}

bool OutputFolder::writePage(const files::Path& file, std::string_view bytes) {
    if (holds(file, bytes))
        return false;
    files::writeFileReplacing(file, bytes);
    return true;
}

bool OutputFolder::removePage(const files::Path& file) {
    std::error_code ec;
    return std::filesystem::remove(file, ec) && !ec;
}

} // namespace gamarium::pages
