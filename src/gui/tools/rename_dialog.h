#pragma once

#include "core/text/stored_text.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TPasswordDlg1;
}

namespace gamarium::gui {

// The rename dialog: asks for the new name of the current game. The box
// keeps the name given last time; Cancel, Esc and the close box empty it.
class TPasswordDlg1 : public QDialog {
    Q_OBJECT

public:
    TPasswordDlg1();
    ~TPasswordDlg1() override;

    // Shows the dialog modally. The new name (Windows-1251) when OK closed
    // it on a name; nothing after Cancel, Esc, the close box or OK on an
    // empty box.
    std::optional<text::StoredText> ask();

    void OKBtnClick();
    void CancelBtnClick();

protected:
    void reject() override;

private:
    std::unique_ptr<Ui::TPasswordDlg1> ui_;
    std::optional<text::StoredText> newName_;
};

} // namespace gamarium::gui
