#pragma once

#include <QString>

class QKeyEvent;

namespace gamarium::gui {

// True when the key pressed is the one that carries the Latin letter
// `latin` (A-Z) on an English keyboard, whatever layout is active: with a
// Russian layout Ctrl+B gives the letter И, but the key is the same. The
// key is told by its place on the keyboard: the virtual key on Windows,
// the key code elsewhere (X11, Wayland). `platform` is the name of Qt's
// platform plugin ("windows", "xcb", ...).
bool isLetterKey(const QKeyEvent& key, char latin, const QString& platform);

} // namespace gamarium::gui
