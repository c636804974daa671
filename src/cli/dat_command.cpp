#include "cli/dat_command.h"

#include "cli/options.h"
#include "core/dat/base_import.h"
#include "core/dat/dat_files.h"

namespace gamarium::cli {

int importDat(Invocation& invocation) {
    std::vector<files::Path> paths;
    for (auto file = invocation.words.begin() + 1; file != invocation.words.end(); ++file)
        paths.push_back(invocation.path(*file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    // The report quotes the DAT's own text: UTF-8 lines as they are.
    dat::importIntoBase(invocation.base(), contents, invocation.what, invocation.isSet(options::DryRun),
                        [&](const std::string& line) { invocation.out << line << '\n'; });
    return 0;
}

} // namespace gamarium::cli
