#include "patches/patch_window.h"

#include "store/table.h"
#include "widgets/fixed_window.h"

namespace gamarium::gui {

TForm3::TForm3(Windows&) : table1_(std::make_unique<store::Table>(files::Path(), std::string())) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Работа с базой патчей"));
    makeFixedWindow(this, 277, 242);
}

} // namespace gamarium::gui

namespace gamarium::gui {

TForm3::~TForm3() = default;

void TForm3::openTable(const files::Path& folder, const std::string& name) {
    closeTable();
    table1_ = std::make_unique<store::Table>(folder, name);
    table1_->open();
}

void TForm3::closeTable() {
    table1_->close();
}

} // namespace gamarium::gui
