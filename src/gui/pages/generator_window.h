#pragma once

#include <QDialog>

namespace gamarium::gui {

class Windows;

// The page generator window: HTML pages from a page template.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(Windows& windows);
};

} // namespace gamarium::gui
