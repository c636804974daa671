#pragma once

#include "files/files.h"

#include <QDialog>

#include <memory>
#include <string>

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

class Windows;

// The patch base window over the patch table of the open base.
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

private:
    std::unique_ptr<store::Table> table1_;
};

} // namespace gamarium::gui
