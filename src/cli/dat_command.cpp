#include "cli/dat_command.h"

#include "core/dat/dat_files.h"
#include "core/dat/dat_import.h"

namespace gamarium::cli {

int importDat(Invocation& invocation) {
    std::vector<files::Path> paths;
    for (auto file = invocation.words.begin() + 1; file != invocation.words.end(); ++file)
        paths.push_back(invocation.path(*file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    const auto session = invocation.openBase(invocation.words.front());
    store::Table& games = session->games();
    const bool dryRun = invocation.flag("--dry-run");
    // The report quotes the DAT's own text: UTF-8 lines as they are.
    const auto print = [&](const std::string& line) { invocation.out << line << '\n'; };
    const dat::DatImportResult result = dat::importDat(games, contents, print, dryRun);
    if (result.unaccented + result.cut + result.leftEmpty > 0) print(dat::conversionsLine(result));
    if (dryRun) print("пробный прогон: ничего не записано");
    print(dat::countsLine(result));
    return 0;
}

} // namespace gamarium::cli
