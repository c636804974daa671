#include "gui/pages/generator_window.h"

#include "core/pages/base_page_settings.h"
#include "core/pages/generator.h"
#include "core/pages/report_line.h"
#include "core/session/base_session.h"
#include "core/text/cp1251.h"
#include "gui/pages/publish_window.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "ui_generator_window.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace gamarium::gui {

TForm4::TForm4(const files::Path& home) : ui_(std::make_unique<Ui::TForm4>()), home_(home) {
    ui_->setupUi(this);
    makeFixedWindow(this, 674, 574);
    const pages::PageSettings defaults;
    ui_->Edit1->setText(QString::number(defaults.gamesPerPage));
    ui_->Edit2->setText(toQt(text::StoredText::fromCp1251(defaults.block.russianPatchPath)));
    ui_->Edit3->setText(toQt(text::StoredText::fromCp1251(defaults.block.otherPatchPath)));
    ui_->Edit5->setText(toQt(text::StoredText::fromCp1251(defaults.block.imagePath)));
    ui_->Edit4->setText(fromPath(pages::defaultOutputFolder(home)));
    // The help note is written on the window itself, in the menu colour.
    QPalette note = ui_->Memo5->palette();
    note.setColor(QPalette::Base, palette().color(QPalette::Window));
    ui_->Memo5->setPalette(note);
    nameControls();
    onSignal(ui_->Button11, &QPushButton::clicked, this, [this] { Button11Click(); });
    onSignal(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    onSignal(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    onSignal(ui_->ButtonPublish, &QPushButton::clicked, this, [this] { ButtonPublishClick(); });
}

TForm4::~TForm4() = default;

void TForm4::run(session::BaseSession& session) {
    session_ = &session;
    exec();
    session_ = nullptr;
}

// Controls without a label of their own; the labelled ones take its text.
void TForm4::nameControls() {
    nameControl(ui_->Edit3, QStringLiteral("Путь к прочим патчам"));
    const std::pair<QWidget*, QString> named[] = {
        {ui_->Memo1, QStringLiteral("Начало страницы")},
        {ui_->Memo2, QStringLiteral("Описание игры")},
        {ui_->Memo3, QStringLiteral("Конец страницы")},
        {ui_->Memo5, QStringLiteral("Подсказка")},
        {ui_->ProgressBar1, QStringLiteral("Создано страниц")},
    };
    for (const auto& [control, name] : named) control->setAccessibleName(name);
}

// The areas are emptied first: a file that fails part way leaves them so.
void TForm4::Button11Click() {
    const std::optional<QString> file =
        FileDialog::openFile(this, QStringLiteral("Выбор шаблона"), QStringLiteral("Шаблоны|*.htd|Все файлы|*.*"),
                             fromPath(pages::templatesFolder(home_)));
    if (!file) return;
    for (QPlainTextEdit* memo : {ui_->Memo1, ui_->Memo2, ui_->Memo3}) memo->clear();
    templateFile_.clear();
    const pages::PageTemplate loaded = pages::loadTemplate(toPath(*file));
    templateFile_ = toPath(*file);
    ui_->Memo1->setPlainText(toQtLines(text::StoredText::fromCp1251(loaded.head)));
    ui_->Memo2->setPlainText(toQtLines(text::StoredText::fromCp1251(loaded.block)));
    ui_->Memo3->setPlainText(toQtLines(text::StoredText::fromCp1251(loaded.foot)));
}

pages::PageTemplate TForm4::typedTemplate() const {
    return {.head = fromQtLines(ui_->Memo1->toPlainText()).bytes(),
            .block = fromQtLines(ui_->Memo2->toPlainText()).bytes(),
            .foot = fromQtLines(ui_->Memo3->toPlainText()).bytes()};
}

pages::PageSettings TForm4::typedSettings() const {
    pages::PageSettings settings = pages::pageSettingsFrom({.gamesPerPage = fromQt(ui_->Edit1->text()).bytes(),
                                                            .russianPatchPath = fromQt(ui_->Edit2->text()).bytes(),
                                                            .otherPatchPath = fromQt(ui_->Edit3->text()).bytes(),
                                                            .imagePath = fromQt(ui_->Edit5->text()).bytes()});
    settings.outputFolder = toPath(ui_->Edit4->text());
    return settings;
}

void TForm4::setRunning(bool running) {
    running_ = running;
    for (QPushButton* button : {ui_->Button11, ui_->Button1, ui_->Button2, ui_->ButtonPublish})
        button->setEnabled(!running);
}

// The bar moves while the run keeps the window busy; clicks and keys wait.
void TForm4::showProgress(int done, int total) {
    ui_->ProgressBar1->setRange(0, total);
    ui_->ProgressBar1->setValue(done);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The template is checked before the setting boxes are read: without a
// game block "Открой файл сначала!" comes first, whatever the boxes hold.
void TForm4::Button1Click() {
    ui_->LabelReport->clear();
    ui_->ProgressBar1->reset();
    const pages::PageTemplate pageTemplate = typedTemplate();
    const pages::PageSettings settings = pageTemplate.block.empty() ? pages::PageSettings() : typedSettings();
    const pages::GeneratorCallbacks callbacks{
        .messages = [this](const std::string& message) { MessageBox::inform(this, QString::fromStdString(message)); },
        .progress = [this](int done, int total) { showProgress(done, total); },
    };
    setRunning(true);
    struct RunEnd {
        TForm4* window;
        ~RunEnd() { window->setRunning(false); }
    } runEnd{this};
    const pages::GenerationReport report =
        pages::generatePages(session_->games(), session_->patches(), session_->home(), session_->baseName(),
                             pageTemplate, settings, callbacks);
    if (report.refused) return;
    ui_->LabelReport->setText(QString::fromStdString(pages::reportLine(report)));
    if (!templateFile_.empty())
        pages::rememberRun(session_->home(), session_->baseName(), templateFile_, settings);
}

void TForm4::ButtonPublishClick() {
    if (!publish_) publish_ = std::make_unique<PublishWindow>(home_, this);
    publish_->run(text::toUtf8(text::StoredText::fromCp1251(session_->baseName())), toPath(ui_->Edit4->text()));
}

void TForm4::Button2Click() {
    close();
}

void TForm4::reject() {
    if (!running_) QDialog::reject();
}

void TForm4::closeEvent(QCloseEvent* event) {
    if (running_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace gamarium::gui
