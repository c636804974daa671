#include "gui/widgets/key_position.h"

#include <QKeyEvent>

#include <array>

namespace gamarium::gui {
namespace {

// The XKB key codes of the letter keys A to Z (the Linux input codes plus 8).
constexpr std::array<quint32, 26> kXkbLetterCodes = {
    38, 56, 54, 40, 26, 41, 42, 43, 31, 44, 45, 46, 58, 57, 32, 33, 24, 27, 39, 28, 30, 55, 25, 53, 29, 52,
};

} // namespace

bool isLetterKey(const QKeyEvent& key, char latin, const QString& platform) {
    if (latin < 'A' || latin > 'Z') return false;
    if (key.key() == Qt::Key_A + (latin - 'A')) return true;
    // Windows' virtual key codes of the letters are their capitals.
    if (platform == QLatin1String("windows")) return key.nativeVirtualKey() == static_cast<quint32>(latin);
    return key.nativeScanCode() != 0 && key.nativeScanCode() == kXkbLetterCodes[static_cast<std::size_t>(latin - 'A')];
}

} // namespace gamarium::gui
