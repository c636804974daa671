#include "core/pictures/picture_folder.h"

namespace gamarium::pictures {
namespace {

std::vector<text::StoredText> fileNames(const files::Path& folder, const std::string& mask) {
    std::vector<text::StoredText> names;
    for (files::Entry& entry : files::listFolder(folder, mask))
        if (!entry.isFolder) names.push_back(std::move(entry.name));
    return names;
}

} // namespace

std::string fleft(std::string_view text) {
    return std::string(text.substr(0, text.find('_')));
}

std::vector<text::StoredText> scanPictureFolder(const files::Path& folder, std::string& mask) {
    std::vector<text::StoredText> names = fileNames(folder, mask);
    if (names.empty()) {
        mask = fleft(mask) + "*.*";
        names = fileNames(folder, mask);
    }
    return names;
}

files::Path basePictureFolder(const files::Path& home, std::string_view base) {
    return files::findNoCase(files::findNoCase(home, "images"_stored), text::StoredText::fromCp1251(base));
}

files::Path gamePictureFolder(const files::Path& home, std::string_view base, const text::StoredText& sid) {
    return files::findNoCase(basePictureFolder(home, base), sid);
}

files::Path pictureFile(const files::Path& folder, const text::StoredText& name) {
    return files::findNoCase(folder, name);
}

} // namespace gamarium::pictures
