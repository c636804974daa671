#include "core/session/base_session.h"

#include "core/pictures/picture_folder.h"
#include "core/store/catalogue.h"
#include "core/text/cp1251.h"

namespace gamarium::session {

namespace {

// Tables are named by the lower-cased base name.
std::string tableName(const std::string& base, BaseTable which) {
    return which == BaseTable::Games ? store::gameTableName(text::lower(base))
                                     : store::patchTableName(text::lower(base));
}

} // namespace

std::unique_ptr<store::Table> openBaseTable(const files::Path& home, const std::string& base, BaseTable which) {
    auto table = std::make_unique<store::Table>(store::basesFolder(home), tableName(base, which));
    table->open();
    return table;
}

BaseSession::BaseSession(files::Path home, std::string base)
    : home_(std::move(home)), base_(std::move(base)),
      games_(store::basesFolder(home_), tableName(base_, BaseTable::Games)),
      patches_(store::basesFolder(home_), tableName(base_, BaseTable::Patches)) {
    games_.open();
    patches_.open();
}

files::Path BaseSession::pictureRoot() const {
    return pictures::basePictureFolder(home_, base_);
}

files::Path BaseSession::pictureFolder(std::string_view sid) const {
    return pictures::gamePictureFolder(home_, base_, sid);
}

} // namespace gamarium::session
