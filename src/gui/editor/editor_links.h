#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QRect;
class QWidget;

namespace gamarium::find {
class GameList;
}

namespace gamarium::history {
struct RestoreReport;
}

namespace gamarium::session {
class BaseSession;
}

namespace gamarium::gui {

// What the record editor asks of the program's other windows. The
// program's set of windows (gui/app/windows.h) answers it, so that the
// editor knows no other window.
class EditorLinks {
public:
    // The program folder.
    virtual const files::Path& home() const = 0;
    // The picture chooser over `folder` by `mask`; the file name chosen.
    virtual std::optional<text::StoredText> choosePicture(const files::Path& folder, const std::string& mask) = 0;
    // The rename dialog; the new name given.
    virtual std::optional<text::StoredText> askNewName() = 0;
    // The patch window over the session's patches, opened on the patch that
    // `link` points to; the N of the patch chosen.
    virtual std::optional<text::StoredText> pickPatch(session::BaseSession& session, std::int64_t link) = 0;
    // The page generator on the session's tables.
    virtual void generatePages(session::BaseSession& session) = 0;
    // The find window beside `editor`, searching what `games` gives and
    // handing the identity of a game chosen to `chosen`.
    virtual void findGames(QWidget* editor, std::function<std::shared_ptr<const find::GameList>()> games,
                           std::function<void(std::int64_t)> chosen) = 0;
    // The restore points of `base` over `window`; `restore` puts one back.
    virtual void showRestorePoints(QWidget* window, const std::string& base,
                                   std::function<history::RestoreReport(int id)> restore) = 0;
    // Searches again soon if the find window is open (the games have changed).
    virtual void refreshFoundGames() = 0;
    virtual void closeFindGames() = 0;

protected:
    ~EditorLinks() = default;
};

} // namespace gamarium::gui
