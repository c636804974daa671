#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace gamarium::gui {

// The program's Windows-1251 texts at the window boundary. Characters the
// code page cannot hold become '?'.
QString toQt(std::string_view cp1251);
std::string fromQt(const QString& text);

} // namespace gamarium::gui
