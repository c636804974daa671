#include "gui/app/windows.h"

#include "core/session/base_session.h"
#include "gui/app/main_window.h"
#include "gui/app/new_base_dialog.h"
#include "gui/app/restore_points_dialog.h"
#include "gui/editor/editor_window.h"
#include "gui/find/find_window.h"
#include "gui/pages/generator_window.h"
#include "gui/patches/patch_window.h"
#include "gui/pictures/chooser_window.h"
#include "gui/tools/rename_dialog.h"
#include "gui/widgets/button_keys.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/screen_place.h"

#include <QScreen>

#include <algorithm>

namespace gamarium::gui {

Windows::Windows(files::Path home) : home_(std::move(home)) {
    form1_ = std::make_unique<TForm1>(*this);
    fopen_ = std::make_unique<TFopen>();
    form2_ = std::make_unique<TForm2>(*this);
    form3_ = std::make_unique<TForm3>();
    form4_ = std::make_unique<TForm4>(home_);
    passwordDlg_ = std::make_unique<TPasswordDlg>(home_);
    passwordDlg1_ = std::make_unique<TPasswordDlg1>();
    // Every window handles keys and names its controls the same way, but
    // for the patch window, which has no default button for Enter to press
    // and takes Enter on a button itself.
    for (QWidget* window : all()) {
        if (window != form3()) pressFocusedButtonOnEnter(window);
        nameControlsByTheirLabels(window);
    }
}

std::array<QWidget*, 7> Windows::all() const {
    return {form1(), fopen(), form2(), form3(), form4(), passwordDlg(), passwordDlg1()};
}

// Destroyed in the reverse order of creation, the find window first.
Windows::~Windows() {
    closeFindGames();
    passwordDlg1_.reset();
    passwordDlg_.reset();
    form4_.reset();
    form3_.reset();
    form2_.reset();
    fopen_.reset();
    form1_.reset();
}

void Windows::editBase(const std::string& base) {
    form2_->FormShow(base);
    form1_->hide();
    form2_->runModally();
    form1_->show();
}

std::optional<std::string> Windows::createBase(const std::vector<std::string>& listed) {
    return passwordDlg_->ask(listed);
}

std::optional<text::StoredText> Windows::choosePicture(const files::Path& folder, const std::string& mask) {
    return fopen_->choose(folder, mask);
}

std::optional<text::StoredText> Windows::askNewName() {
    return passwordDlg1_->ask();
}

std::optional<text::StoredText> Windows::pickPatch(session::BaseSession& session, std::int64_t link) {
    return form3_->pick(session.patches(), link);
}

void Windows::generatePages(session::BaseSession& session) {
    form4_->run(session);
}

void Windows::findGames(QWidget* editor, std::function<std::shared_ptr<const find::GameList>()> games,
                        std::function<void(std::int64_t)> chosen) {
    if (!find_) {
        // A child of the editor, so that the editor's modality leaves it usable.
        find_ = std::make_unique<FindWindow>(std::move(games), editor);
        find_->setWindowFlag(Qt::Window);
        onSignal(find_.get(), &FindWindow::gameChosen, editor, std::move(chosen));
    }
    find_->show();
    find_->keepBeside(editor);
    find_->raise();
    find_->activateWindow();
    find_->refresh();
}

void Windows::showRestorePoints(QWidget* window, const std::string& base,
                                std::function<history::RestoreReport(int id)> restore) {
    RestorePointsDialog dialog(window, home_, base, std::move(restore));
    pressFocusedButtonOnEnter(&dialog);
    dialog.exec();
}

void Windows::refreshFoundGames() {
    if (find_ && find_->isVisible()) find_->refreshSoon();
}

void Windows::closeFindGames() {
    find_.reset();
}

} // namespace gamarium::gui
