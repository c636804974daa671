#pragma once

#include "core/text/stored_text.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TForm3;
}

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

class RecordForm;

// The patch base window: browses and edits the patch table of the open base
// one record at a time, and is the picker of a game's patch.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    TForm3();
    ~TForm3() override;

    // Shows the window modally over `patches`, on the record that a game's
    // Patch value `link` points to. The N of the patch settled on with OK,
    // as text (empty when that record has none); nothing after Esc or the
    // close box.
    std::optional<text::StoredText> pick(store::Table& patches, std::int64_t link);

    // Runs on each opening (not on a restore from minimised): shows the
    // patch that the game links to.
    void FormShow();
    void Button1Click();
    void Button2Click();

    // Esc closes the window as its close box does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void bindControls();

    std::unique_ptr<Ui::TForm3> ui_;
    std::unique_ptr<RecordForm> form_;
    store::Table* table1_ = nullptr;
    std::int64_t link_ = 0;
    std::optional<text::StoredText> chosen_;
};

} // namespace gamarium::gui
