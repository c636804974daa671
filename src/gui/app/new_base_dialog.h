#pragma once

#include "core/files/files.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TPasswordDlg;
}

namespace gamarium::gui {

// The new-base dialog: asks for a name and creates the base's empty tables,
// its picture folder and the list of bases in bases.ini.
class TPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDlg(files::Path home);
    ~TPasswordDlg() override;

    // Shows the dialog modally. `listed` are the bases the main window
    // lists; bases.ini gets them and the new one. The name of the base
    // created (as its table file has it) when OK made one; nothing after
    // Cancel, Esc or the close box.
    std::optional<std::string> ask(const std::vector<std::string>& listed);

    // The text of the name box, kept between openings.
    QString typedName() const;

    void OKBtnClick();
    void CancelBtnClick();

private:
    files::Path home_;
    std::unique_ptr<Ui::TPasswordDlg> ui_;
    std::vector<std::string> listed_;
    std::optional<std::string> created_;
};

} // namespace gamarium::gui
