#include "cli/dat_command.h"

#include "cli/options.h"
#include "core/dat/dat_files.h"
#include "core/dat/dat_import.h"

namespace gamarium::cli {

int importDat(Invocation& invocation) {
    std::vector<files::Path> paths;
    for (auto file = invocation.words.begin() + 1; file != invocation.words.end(); ++file)
        paths.push_back(invocation.path(*file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    session::BaseSession& base = invocation.base();
    const bool dryRun = invocation.isSet(options::DryRun);
    // The report quotes the DAT's own text: UTF-8 lines as they are.
    const auto print = [&](const std::string& line) { invocation.out << line << '\n'; };
    // A run that writes nothing (a dry one, or the same files again) takes no point.
    const auto change = base.beginChange(invocation.what);
    const dat::DatImportResult result = dat::importDat(base.games(), contents, print, dryRun);
    if (result.unaccented + result.cut + result.leftEmpty > 0) print(dat::conversionsLine(result));
    if (dryRun) print("пробный прогон: ничего не записано");
    print(dat::countsLine(result));
    return 0;
}

} // namespace gamarium::cli
