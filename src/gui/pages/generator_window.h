#pragma once

#include "core/files/files.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm4;
}

namespace gamarium::pages {
struct PageSettings;
struct PageTemplate;
} // namespace gamarium::pages

namespace gamarium::session {
class BaseSession;
}

namespace gamarium::gui {

class PublishWindow;

// The page generator window: loads a page template into its three text
// areas and writes the site's pages from the tables of the open base. What
// is typed and loaded here stays for the program's run, also when the
// window is closed.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    // `home`: the program folder, where the output folder starts.
    explicit TForm4(const files::Path& home);
    ~TForm4() override;

    // Shows the window modally over the base of `session`.
    void run(session::BaseSession& session);

    // Loads a template chosen in the file dialog into the three areas.
    void Button11Click();
    // Writes all pages with what the areas and boxes hold now.
    void Button1Click();
    void Button2Click();
    // Publishes the output folder to the site (the publishing window).
    void ButtonPublishClick();

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

    std::unique_ptr<Ui::TForm4> ui_;
    files::Path home_;
    std::unique_ptr<PublishWindow> publish_;
    session::BaseSession* session_ = nullptr;
    bool running_ = false;
};

} // namespace gamarium::gui
