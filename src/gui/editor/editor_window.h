#pragma once

#include <QDialog>

namespace gamarium::gui {

class Windows;

// The record editor window; it edits one game of the current base at a time.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(Windows& windows);
};

} // namespace gamarium::gui
