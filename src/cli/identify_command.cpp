#include "identify_command.h"

#include "pictures/decoder.h"

#include <filesystem>

namespace gamarium::cli {

int runIdentify(const std::vector<std::string>& files, std::ostream& out, std::ostream&) {
    int status = 0;
    for (const std::string& file : files) {
        const std::u8string utf8(file.begin(), file.end());
        const auto outcome = pictures::decodePictureExplained(std::filesystem::path(utf8));
        if (outcome.error.empty()) {
            out << file << '\t' << outcome.picture.width << '\t' << outcome.picture.height << '\n';
        } else {
            out << file << "\terror: " << outcome.error << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace gamarium::cli
