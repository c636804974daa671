#include "gui/app/restore_points_dialog.h"

#include "core/history/point_action.h"
#include "core/history/point_store.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "ui_restore_points_dialog.h"

#include <QHeaderView>

namespace gamarium::gui {

RestorePointsDialog::RestorePointsDialog(QWidget* parent, files::Path home, std::string base, Restore restore)
    : QDialog(parent), ui_(std::make_unique<Ui::RestorePointsDialog>()), home_(std::move(home)),
      base_(std::move(base)), restore_(std::move(restore)) {
    ui_->setupUi(this);
    makeFixedWindow(this, 480, 264);
    setWindowTitle(QStringLiteral("Точки восстановления: %1").arg(baseNameToQt(base_)));
    // The number, time and games fit their texts; the action takes the rest.
    QHeaderView* header = ui_->PointList->header();
    header->setStretchLastSection(false);
    for (int column : {0, 1, 3}) header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    nameControlsByTheirLabels(this);
    onSignal(ui_->ButtonRestore, &QPushButton::clicked, this, [this] { ButtonRestoreClick(); });
    connect(ui_->ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
    showPoints();
}

RestorePointsDialog::~RestorePointsDialog() = default;

void RestorePointsDialog::showPoints() {
    ui_->PointList->clear();
    const std::vector<history::Point> points = history::PointStore(home_, base_).points();
    for (auto point = points.rbegin(); point != points.rend(); ++point) {
        const bool counted = point->games.kind == history::TableInPoint::Kind::Copied;
        auto* item = new QTreeWidgetItem(ui_->PointList, {QString::number(point->id),
                                                          QString::fromStdString(history::localTimeText(point->time)),
                                                          QString::fromStdString(history::describeAction(point->what)),
                                                          counted ? QString::number(point->games.records) : QStringLiteral("—")});
        item->setToolTip(2, item->text(2)); // a long list of files is cut in the column
        item->setTextAlignment(0, Qt::AlignRight);
        item->setTextAlignment(3, Qt::AlignRight);
        item->setData(0, Qt::UserRole, point->id);
    }
    if (ui_->PointList->topLevelItemCount() > 0) ui_->PointList->setCurrentItem(ui_->PointList->topLevelItem(0));
    ui_->ButtonRestore->setEnabled(ui_->PointList->topLevelItemCount() > 0);
}

void RestorePointsDialog::ButtonRestoreClick() {
    const QTreeWidgetItem* item = ui_->PointList->currentItem();
    if (!item) return;
    const int id = item->data(0, Qt::UserRole).toInt();
    const QString question = QStringLiteral("Вернуть базу «%1» к точке №%2 от %3, перед действием «%4»?\n"
                                            "Нынешнее состояние сохранится в новой точке, так что это можно будет отменить.")
                                 .arg(baseNameToQt(base_), item->text(0), item->text(1), item->text(2));
    if (!MessageBox::confirm(this, question)) return;
    const history::RestoreReport report = restore_(id);
    showPoints();
    // A message box shows so many lines at most.
    constexpr std::size_t kShownLines = 30;
    QStringList lines;
    for (std::size_t i = 0; i < report.lines.size() && i < kShownLines; ++i)
        lines << QString::fromStdString(report.lines[i]);
    if (report.lines.size() > kShownLines) lines << QStringLiteral("… и ещё строк: %1").arg(report.lines.size() - kShownLines);
    if (report.complete)
        MessageBox::inform(this, QStringLiteral("База восстановлена.\n") + lines.join(QLatin1Char('\n')));
    else
        MessageBox::error(this, QStringLiteral("Не всё удалось вернуть; оставленные файлы перечислены ниже.\n") +
                                    lines.join(QLatin1Char('\n')));
}

} // namespace gamarium::gui
