#pragma once

#include <QDialog>

namespace gamarium::gui {

class Windows;

// The patch base window over the patch table of the open base.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(Windows& windows);
};

} // namespace gamarium::gui
