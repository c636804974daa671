// The four text panes of the editor: one shown at a time, each enlarged
// over the window by a double-click, and Ctrl+B / Ctrl+I wrapping the
// selected text.
#include "gui/editor/editor_window.h"

#include "gui/widgets/handler.h"
#include "gui/widgets/key_position.h"
#include "ui_editor_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QRadioButton>

namespace gamarium::gui {
namespace {

constexpr int kEnlargedFromWidth = 400;
const QRect kNormalPane(4, 383, 365, 170);
const QRect kEnlargedPane(2, 2, 700, 560);

void setPointSize(QWidget* pane, int points) {
    QFont font = pane->font();
    font.setPointSize(points);
    pane->setFont(font);
}

} // namespace

void TForm2::setupTextPanes() {
    QFont courier(QStringLiteral("Courier New"), 8);
    courier.setStyleHint(QFont::Monospace);
    for (QPlainTextEdit* pane : {ui_->MemoText3, ui_->MemoText4}) pane->setFont(courier);
    for (QPlainTextEdit* pane : {ui_->MemoText, ui_->MemoText2, ui_->MemoText3, ui_->MemoText4}) {
        pane->installEventFilter(this);
        pane->viewport()->installEventFilter(this);
    }
    for (QRadioButton* item : {ui_->RadioGroup1Item1, ui_->RadioGroup1Item2, ui_->RadioGroup1Item3, ui_->RadioGroup1Item4})
        onSignal(item, &QRadioButton::toggled, this, [this](bool on) {
            if (on) RadioGroup1Click();
        });
}

void TForm2::RadioGroup1Click() {
    const std::pair<QRadioButton*, QPlainTextEdit*> panes[] = {{ui_->RadioGroup1Item1, ui_->MemoText},
                                                               {ui_->RadioGroup1Item2, ui_->MemoText2},
                                                               {ui_->RadioGroup1Item3, ui_->MemoText3},
                                                               {ui_->RadioGroup1Item4, ui_->MemoText4}};
    for (const auto& [item, pane] : panes) pane->hide();
    for (const auto& [item, pane] : panes)
        if (item->isChecked()) pane->show();
}

void TForm2::MemoText4DblClick(QPlainTextEdit* sender) {
    if (outerWidth() < 400) setOuterWidth(710);
    if (sender->width() < kEnlargedFromWidth) {
        sender->setGeometry(kEnlargedPane);
        setPointSize(sender, 11);
        sender->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        sender->raise();
    } else {
        if (ui_->Button9->text() == QStringLiteral(">")) setOuterWidth(380);
        sender->setGeometry(kNormalPane);
        setPointSize(sender, 8);
        sender->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

// The wrapped text replaces the selection in the pane itself; the clipboard
// and the quick-jump box are left alone. The keys are told by their place,
// so that they work under any keyboard layout.
bool TForm2::MemoText4KeyDown(QPlainTextEdit* sender, const QKeyEvent* key) {
    if (!(key->modifiers() & Qt::ControlModifier)) return false;
    const QString selected = sender->textCursor().selectedText();
    const QString platform = QGuiApplication::platformName();
    QString wrapped;
    if (isLetterKey(*key, 'B', platform))
        wrapped = QStringLiteral("[") + selected + QStringLiteral("]");
    else if (isLetterKey(*key, 'I', platform))
        wrapped = QStringLiteral("_") + selected + QStringLiteral("_");
    else
        return false;
    sender->insertPlainText(wrapped);
    return true;
}

} // namespace gamarium::gui
