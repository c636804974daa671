#pragma once

#include "core/files/files.h"
#include "core/history/restore.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

namespace Ui {
class RestorePointsDialog;
}

namespace gamarium::gui {

// The restore points of a base, newest first (time, action, games), and
// "Восстановить" for the one chosen: after a confirmation naming the
// point, `restore` puts it back, and its report is shown in a message.
// "Закрыть", Esc and the close box close it.
class RestorePointsDialog : public QDialog {
    Q_OBJECT

public:
    using Restore = std::function<history::RestoreReport(int id)>;
    RestorePointsDialog(QWidget* parent, files::Path home, std::string base, Restore restore);
    ~RestorePointsDialog() override;

    void ButtonRestoreClick();

private:
    void showPoints();

    std::unique_ptr<Ui::RestorePointsDialog> ui_;
    files::Path home_;
    std::string base_;
    Restore restore_;
};

} // namespace gamarium::gui
