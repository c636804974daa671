#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm4;
}

namespace gamarium::pages {
struct PageSettings;
struct PageTemplate;
} // namespace gamarium::pages

namespace gamarium::gui {

class Windows;

// The page generator window: loads a page template into its three text
// areas and writes the site's pages from the record editor's game table
// and the patch window's patch table. What is typed and loaded here stays
// for the program's run, also when the window is closed.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(Windows& windows);
    ~TForm4() override;

    // Loads a template chosen in the file dialog into the three areas.
    void Button11Click();
    // Writes all pages with what the areas and boxes hold now.
    void Button1Click();
    void Button2Click();

    // Neither Esc nor the close box ends the window while pages are written.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void nameControls();
    pages::PageTemplate typedTemplate() const;
    pages::PageSettings typedSettings() const;
    // Buttons off and the progress bar at its start while pages are written.
    void setRunning(bool running);
    void showProgress(int done, int total);

    Windows& windows_;
    std::unique_ptr<Ui::TForm4> ui_;
    bool running_ = false;
};

} // namespace gamarium::gui
