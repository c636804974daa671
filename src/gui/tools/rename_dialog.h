#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TPasswordDlg1;
}

namespace gamarium::gui {

class Windows;

// The rename dialog: the new name of the current game. The box keeps the
// name given last time; Cancel (and Esc) empties it, which means no rename.
class TPasswordDlg1 : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDlg1(Windows& windows);
    ~TPasswordDlg1() override;

    // The text of the name box (Windows-1251).
    std::string newName() const;

    void OKBtnClick();
    void CancelBtnClick();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TPasswordDlg1> ui_;
};

} // namespace gamarium::gui
