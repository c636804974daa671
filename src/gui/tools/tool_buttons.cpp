// The buttons of the editor's "Управление" group: the whole-base tools,
// run on the editor's open game table and reporting in Memo_status.
#include "gui/editor/editor_window.h"

#include "gui/app/windows.h"
#include "core/files/files.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/tools/checks.h"
#include "core/tools/light.h"
#include "core/tools/merge.h"
#include "core/tools/rename.h"
#include "core/tools/renumber.h"
#include "ui_editor_window.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"

#include <QApplication>
#include <QElapsedTimer>

namespace gamarium::gui {

// A game list is a few megabytes at most; a bigger file is not one.
constexpr std::size_t listFileLimit = 64u << 20;

void TForm2::setupTools() {
    onSignal(ui_->Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    onSignal(ui_->Button12, &QPushButton::clicked, this, [this] { Button12Click(); });
    onSignal(ui_->Button14, &QPushButton::clicked, this, [this] { Button14Click(); });
    onSignal(ui_->Button15, &QPushButton::clicked, this, [this] { Button15Click(); });
    onSignal(ui_->Button13, &QPushButton::clicked, this, [this] { Button13Click(); });
    onSignal(ui_->Button16, &QPushButton::clicked, this, [this] { Button16Click(); });
    onSignal(ui_->Button17, &QPushButton::clicked, this, [this] { Button17Click(); });
}

void TForm2::addStatus(const std::string& line) {
    addReport(text::toUtf8(line));
}

void TForm2::addReport(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    ui_->Memo_status->appendPlainText(text);
}

// What was typed is saved first, with the record, before the tool moves
// through the table.
void TForm2::runTool(const std::function<void(const tools::StatusSink&, const tools::Progress&)>& work) {
    form_->putTyping();
    // Everything but the report and the preview waits, so that nothing
    // moves the shared cursor under the tool.
    QList<QWidget*> disabled;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == ui_->Memo_status || child == ui_->ToolProgress || !child->isEnabled()) continue;
        child->setEnabled(false);
        disabled << child;
    }
    QProgressBar* bar = ui_->ToolProgress;
    bar->setValue(0);
    bar->show();
    toolRunning_ = true;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto finish = [&] {
        toolRunning_ = false;
        bar->hide();
        for (QWidget* child : disabled) child->setEnabled(true);
    };
    try {
        work([this](const std::string& line) { addStatus(line); },
             [&](int done, int total) {
                 if (sinceEvents.elapsed() < 30 && done < total) return;
                 bar->setMaximum(total);
                 bar->setValue(done);
                 QApplication::processEvents();
                 sinceEvents.restart();
             });
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TForm2::Button8Click() {
    ui_->Memo_status->clear();
    form_->putTyping();
    tools::renumber(Table1());
    addStatus(text::fromUtf8("Ренумерация завершена!"));
}

void TForm2::Button12Click() {
    ui_->Memo_status->clear();
    runTool([this](const auto& report, const auto& progress) { tools::checkNames(Table1(), report, progress); });
}

void TForm2::Button14Click() {
    ui_->Memo_status->clear();
    runTool([this](const auto& report, const auto& progress) {
        tools::checkPictures(Table1(), session_->pictureRoot(), report, progress);
    });
}

void TForm2::Button15Click() {
    ui_->Memo_status->clear();
    runTool([this](const auto& report, const auto& progress) { tools::checkPictureNames(Table1(), report, progress); });
}

void TForm2::Button13Click() {
    ui_->Memo_status->clear();
    if (const std::optional<std::string> newName = windows_.askNewName()) {
        colorer();
        form_->putTyping();
        ui_->Edit1->setText(toQt(*newName));
        const tools::RenameResult result = tools::renameGame(Table1(), session_->pictureRoot(), *newName);
        if (result.renamed && result.oldSid != result.newSid)
            MessageBox::inform(this, toQt(tools::movedPicturesMessage(result)));
        if (const std::string copied = tools::copiedPicturesLine(result); !copied.empty()) addStatus(copied);
        showpic();
    }
    addStatus(text::fromUtf8("Переименование закончено!"));
}

void TForm2::Button16Click() {
    ui_->Memo_status->clear();
    runTool([this](const auto& report, const auto& progress) {
        tools::makeLightSet(Table1(), session_->pictureRoot(), report, progress);
    });
}

void TForm2::Button17Click() {
    const std::optional<QString> file =
        FileDialog::openFile(this, QStringLiteral("Открываем файл"), QStringLiteral("*.*|*.*|*.txt|*.txt"));
    if (!file) return;
    ui_->Memo_status->clear();
    const tools::ListFile list = tools::readListFile(files::readFile(toPath(*file), listFileLimit));
    ui_->Memo_status->setPlainText(toQt(list.text));
    runTool([this, &list](const auto& report, const auto& progress) {
        tools::mergeList(Table1(), list, report, progress);
    });
}

} // namespace gamarium::gui
