#pragma once

#include <QDialog>

namespace gamarium::gui {

class Windows;

// The rename dialog: the new name of the current game.
class TPasswordDlg1 : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDlg1(Windows& windows);
};

} // namespace gamarium::gui
