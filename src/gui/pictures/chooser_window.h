#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFopen;
}

namespace gamarium::gui {

class Windows;

// The picture chooser: lists picfolder by picmask, previews the entry
// clicked, and leaves the chosen file name in picchoice (empty after Cancel).
class TFopen : public QDialog {
    Q_OBJECT

public:
    explicit TFopen(Windows& windows);
    ~TFopen() override;

    // Runs once per opening (not on a restore from minimised).
    void FormShow();
    void scanfolder();
    void ListBox1Click();
    void Button2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Windows& windows_;
    std::unique_ptr<Ui::TFopen> ui_;
};

} // namespace gamarium::gui
