#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TForm1;
}

namespace gamarium::gui {

class Windows;

// The main window: the list of bases, the current base name (the text of
// ComboBox1), and the buttons that open the editor, create and empty a base.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(Windows& windows);
    ~TForm1() override;

    // The current base name, as typed or chosen in ComboBox1 (Windows-1251).
    std::string baseName() const;
    // The drop-down list of ComboBox1 (Windows-1251).
    std::vector<std::string> listedBases() const;

    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    // The restore points of the chosen base.
    void ButtonPointsClick();

protected:
    bool event(QEvent* event) override;

private:
    void rememberFocusWindow();
    bool offerConversion();

    Windows& windows_;
    std::unique_ptr<Ui::TForm1> ui_;
    bool activatedBefore_ = false;
    QWidget* previousActiveWindow_ = nullptr;
    bool previousWasModal_ = false;
};

} // namespace gamarium::gui
