#include "app/windows.h"

#include "app/main_window.h"
#include "app/new_base_dialog.h"
#include "editor/editor_window.h"
#include "pages/generator_window.h"
#include "patches/patch_window.h"
#include "pictures/chooser_window.h"
#include "tools/rename_dialog.h"
#include "widgets/button_keys.h"
#include "widgets/label_names.h"

namespace gamarium::gui {

Windows::Windows(files::Path home) : home_(std::move(home)) {
    form1_ = std::make_unique<TForm1>(*this);
    fopen_ = std::make_unique<TFopen>(*this);
    form2_ = std::make_unique<TForm2>(*this);
    form3_ = std::make_unique<TForm3>(*this);
    form4_ = std::make_unique<TForm4>(*this);
    passwordDlg_ = std::make_unique<TPasswordDlg>(*this);
    passwordDlg1_ = std::make_unique<TPasswordDlg1>(*this);
    // Every window handles keys and names its controls the same way.
    for (QWidget* window : all()) {
        pressFocusedButtonOnEnter(window);
        nameControlsByTheirLabels(window);
    }
}

std::array<QWidget*, 7> Windows::all() const {
    return {form1(), fopen(), form2(), form3(), form4(), passwordDlg(), passwordDlg1()};
}

// Destroyed in the reverse order of creation.
Windows::~Windows() {
    passwordDlg1_.reset();
    passwordDlg_.reset();
    form4_.reset();
    form3_.reset();
    form2_.reset();
    fopen_.reset();
    form1_.reset();
}

} // namespace gamarium::gui
