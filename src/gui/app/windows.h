#pragma once

#include "core/files/files.h"
// The editor's links declare what the use cases below take.
#include "gui/editor/editor_links.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gamarium::gui {

class FindWindow;
class TForm1;
class TFopen;
class TForm2;
class TForm3;
class TForm4;
class TPasswordDlg;
class TPasswordDlg1;

// The seven windows of the program, created once at start-up in this order
// and living until it ends. A window reaches another only through the use
// cases here, handing over what that window needs and getting its result.
class Windows final : public EditorLinks {
public:
    explicit Windows(files::Path home);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    const files::Path& home() const override { return home_; }

    // The record editor on the base `base`, modally, with the main window
    // hidden meanwhile. A table that cannot be opened gives its error, and
    // nothing is shown or hidden.
    void editBase(const std::string& base);
    // The new-base dialog; the name of the base created, if one was.
    std::optional<std::string> createBase(const std::vector<std::string>& listed);
    // What the editor asks of the other windows (editor_links.h).
    std::optional<text::StoredText> choosePicture(const files::Path& folder, const std::string& mask) override;
    std::optional<text::StoredText> askNewName() override;
    std::optional<text::StoredText> pickPatch(session::BaseSession& session, std::int64_t link) override;
    void generatePages(session::BaseSession& session) override;
    // The find window is not modal, and is closed with the editor. Asked
    // again, it comes to the front and searches again.
    void findGames(QWidget* editor, std::function<std::shared_ptr<const find::GameList>()> games,
                   std::function<void(std::int64_t)> chosen) override;
    void showRestorePoints(QWidget* window, const std::string& base,
                           std::function<history::RestoreReport(int id)> restore) override;
    void refreshFoundGames() override;
    void closeFindGames() override;

    TForm1* form1() const { return form1_.get(); }
    TFopen* fopen() const { return fopen_.get(); }
    TForm2* form2() const { return form2_.get(); }
    TForm3* form3() const { return form3_.get(); }
    TForm4* form4() const { return form4_.get(); }
    TPasswordDlg* passwordDlg() const { return passwordDlg_.get(); }
    TPasswordDlg1* passwordDlg1() const { return passwordDlg1_.get(); }
    // All seven, in the order of creation.
    std::array<QWidget*, 7> all() const;

private:
    files::Path home_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TFopen> fopen_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TPasswordDlg> passwordDlg_;
    std::unique_ptr<TPasswordDlg1> passwordDlg1_;
    std::unique_ptr<FindWindow> find_;
};

} // namespace gamarium::gui
