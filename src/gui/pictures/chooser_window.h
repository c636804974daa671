#pragma once

#include <QDialog>

namespace gamarium::gui {

class Windows;

// The picture chooser: lists a picture folder, previews and returns a file name.
class TFopen : public QDialog {
    Q_OBJECT

public:
    explicit TFopen(Windows& windows);
};

} // namespace gamarium::gui
