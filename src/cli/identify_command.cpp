#include "cli/identify_command.h"

#include "core/pictures/decoder.h"

namespace gamarium::cli {

int identify(Invocation& invocation) {
    int status = 0;
    for (const std::string& file : invocation.words) {
        const auto outcome = pictures::decodePictureExplained(invocation.path(file));
        if (outcome.error.empty()) {
            invocation.out << file << '\t' << outcome.picture.width << '\t' << outcome.picture.height << '\n';
        } else {
            invocation.out << file << "\terror: " << outcome.error << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace gamarium::cli
