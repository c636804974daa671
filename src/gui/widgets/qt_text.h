#pragma once

#include "core/files/files.h"

#include <QString>

#include <string>
#include <string_view>

namespace gamarium::gui {

// The program's stored texts at the window boundary. Characters the code
// page cannot hold become '?'.
QString toQt(const text::StoredText& text);
text::StoredText fromQt(const QString& text);

// A base's name, which the program holds as the name of its table files.
QString baseNameToQt(std::string_view base);
std::string baseNameFromQt(const QString& text);

// The text of a multi-line control: the program's texts end their lines
// with CR LF, the control's text with LF.
QString toQtLines(const text::StoredText& text);
text::StoredText fromQtLines(const QString& text);
// A control's lines ended with CR LF, still as a QString.
QString withCrLf(const QString& text);

// What the user typed, as a text the program keeps: a character that
// Windows-1251 cannot hold is refused (Error naming the character, after
// `where`, e.g. "Поле «Name»"), never turned into '?'.
text::StoredText typedText(const QString& text, const std::string& where);

// A file chosen in a dialog, every character of its name kept.
files::Path toPath(const QString& file);
// A path as a window shows it.
QString fromPath(const files::Path& path);

} // namespace gamarium::gui
