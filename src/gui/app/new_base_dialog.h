#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TPasswordDlg;
}

namespace gamarium::gui {

class Windows;

// The new-base dialog: asks for a name and creates the base's empty tables,
// its picture folder and the list of bases in bases.ini.
class TPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDlg(Windows& windows);
    ~TPasswordDlg() override;

    // The text of the name box, kept between openings.
    QString typedName() const;

    void OKBtnClick();
    void CancelBtnClick();

private:
    Windows& windows_;
    std::unique_ptr<Ui::TPasswordDlg> ui_;
};

} // namespace gamarium::gui
