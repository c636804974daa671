#include "pictures/picture_folder.h"

namespace gamarium::pictures {
namespace {

std::vector<std::string> fileNames(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    for (files::Entry& entry : files::listFolder(files::findPathNoCase(folder), mask))
        if (!entry.isFolder) names.push_back(std::move(entry.name));
    return names;
}

} // namespace

std::string fleft(std::string_view text) {
    return std::string(text.substr(0, text.find('_')));
}

std::vector<std::string> scanPictureFolder(const std::string& folder, std::string& mask) {
    std::vector<std::string> names = fileNames(folder, mask);
    if (names.empty()) {
        mask = fleft(mask) + "*.*";
        names = fileNames(folder, mask);
    }
    return names;
}

files::Path pictureFile(const std::string& folder, std::string_view name) {
    return files::findPathNoCase(folder + std::string(name));
}

} // namespace gamarium::pictures
