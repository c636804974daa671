#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace gamarium::gui {

class Windows;

// The record editor window; it edits one game of the current base at a time.
// For now it holds the picture preview (Panel1 with the view Image1) that
// the picture loader shows and hides.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(Windows& windows);

    QFrame* previewPanel() const { return Panel1; }
    QLabel* previewView() const { return Image1; }

private:
    QFrame* Panel1;
    QLabel* Image1;
};

} // namespace gamarium::gui
