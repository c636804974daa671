#include "session/base_session.h"

#include "pictures/picture_folder.h"
#include "store/catalogue.h"
#include "text/cp1251.h"

namespace gamarium::session {

BaseSession::BaseSession(files::Path home, std::string base)
    : home_(std::move(home)), base_(std::move(base)),
      games_(store::basesFolder(home_), store::gameTableName(text::lower(base_))),
      patches_(store::basesFolder(home_), store::patchTableName(text::lower(base_))) {
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
