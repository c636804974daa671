#include "pictures_command.h"

#include "error.h"
#include "pictures/picture_folder.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "text/cp1251.h"
#include "tools/pictures_by_name.h"

namespace gamarium::cli {

int runPictures(const files::Path& home, const std::string& base, const std::string& folder,
                const std::optional<std::string>& slot, bool dryRun, std::ostream& out) {
    tools::PicturesByNameOptions options;
    options.dryRun = dryRun;
    if (slot) {
        if (slot->size() != 1 || (*slot)[0] < '1' || (*slot)[0] > '5') throw Error("--slot: номер поля от 1 до 5");
        options.slot = (*slot)[0] - '0';
    }
    const std::string baseName = text::fromUtf8(base);
    store::Table games(store::basesFolder(home), store::gameTableName(baseName));
    games.open();
    const auto print = [&](const std::string& line) { out << text::toUtf8(line) << '\n'; };
    const tools::PicturesByNameCounts counts =
        tools::addPicturesByName(games, pictures::basePictureFolder(home, baseName),
                                 files::Path(std::u8string(folder.begin(), folder.end())), options, print);
    print(tools::countsLine(counts, dryRun));
    return 0;
}

} // namespace gamarium::cli
