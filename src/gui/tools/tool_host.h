#pragma once

#include "core/text/stored_text.h"

#include <functional>
#include <optional>
#include <string>

namespace gamarium::session {
class BaseSession;
}

namespace gamarium::gui {

// What the tools need of the window that carries them.
struct ToolHost {
    // The open base.
    std::function<session::BaseSession&()> session;
    // Saves what was typed with its record before a tool reads the table,
    // and before the tool's restore point: putting that point back undoes
    // the tool and keeps the typing.
    std::function<void()> saveTyping;
    // Shows the current game anew, after a tool moved the cursor or changed the game.
    std::function<void()> showGame;
    // Shows the current game's first picture anew.
    std::function<void()> showPicture;
    // Asks for a game's new name (Windows-1251); nothing when none was given.
    std::function<std::optional<text::StoredText>()> askNewName;
};

} // namespace gamarium::gui
