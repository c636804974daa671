#include "cli/dat_command.h"

#include "core/dat/base_import.h"
#include "core/dat/dat_files.h"

namespace gamarium::cli {

int importDat(Invocation& invocation) {
    std::vector<files::Path> paths;
    for (auto file = invocation.words.begin() + 1; file != invocation.words.end(); ++file)
        paths.push_back(invocation.path(*file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    const auto session = invocation.openBase(invocation.words.front());
    // The report quotes the DAT's own text: UTF-8 lines as they are.
    dat::importIntoBase(*session, contents, invocation.what, invocation.flag("--dry-run"),
                        [&](const std::string& line) { invocation.out << line << '\n'; });
    return 0;
}

} // namespace gamarium::cli
