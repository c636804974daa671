#pragma once

#include "files/files.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TForm3;
}

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

class DataSource;
class Windows;

// The patch base window: browses and edits the patch table of the open base
// one record at a time, and is the picker of a game's patch: the record
// editor shows it modally and afterwards reads the current patch's N.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(Windows& windows);
    ~TForm3() override;

    // The patch table; the record editor opens it with the game table and
    // closes it with the editor.
    store::Table& Table1() { return *table1_; }
    void openTable(const files::Path& folder, const std::string& name);
    void closeTable();

    // Runs on each opening (not on a restore from minimised): shows the
    // patch that the editor's current game links to.
    void FormShow();
    void Button1Click();
    void Button2Click();

    // Esc closes the window as its close box does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void bindControls();
    // The table the boxes and the navigator follow; nullptr lets go.
    void setControlsTable(store::Table* table);

    Windows& windows_;
    std::unique_ptr<Ui::TForm3> ui_;
    std::unique_ptr<store::Table> table1_;
    std::unique_ptr<DataSource> dataSource1_;
};

} // namespace gamarium::gui
