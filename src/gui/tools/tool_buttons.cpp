#include "gui/tools/tool_buttons.h"

#include "core/files/files.h"
#include "core/text/cp1251.h"
#include "gui/tools/tool_runner.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"

#include <QFileInfo>
#include <QLineEdit>

namespace gamarium::gui {

// A game list is a few megabytes at most; a bigger file is not one.
constexpr std::size_t listFileLimit = 64u << 20;

ToolButtons::ToolButtons(QWidget* window, ToolRunner& runner, ToolHost host, QLineEdit* newNameBox)
    : window_(window), runner_(runner), host_(std::move(host)), newNameBox_(newNameBox) {}

// The quick tools run without the progress bar: what was typed is saved
// first, with the record, before they move through the table.
void ToolButtons::renumber() {
    runner_.clear();
    host_.saveTyping();
    tools::renumberBase(host_.session(), "Ренумерация (1->100)", runner_.reporter());
}

void ToolButtons::check(tools::Check check) {
    runner_.clear();
    runner_.run([&](const auto& report, const auto& progress) {
        tools::checkBase(host_.session(), check, report, progress);
    });
}

void ToolButtons::rename() {
    runner_.clear();
    if (const std::optional<text::StoredText> newName = host_.askNewName()) {
        host_.saveTyping();
        newNameBox_->setText(toQt(*newName));
        tools::renameInBase(
            host_.session(), *newName, "Переименование в «" + text::toUtf8(*newName) + "»",
            [this](const text::StoredText& moved) { MessageBox::inform(window_, toQt(moved)); }, runner_.reporter());
        host_.showPicture();
    }
    runner_.report(tools::renameEndLine());
}

void ToolButtons::light() {
    runner_.clear();
    runner_.run([this](const auto& report, const auto& progress) {
        tools::lightSetOfBase(host_.session(), report, progress);
    });
}

void ToolButtons::merge() {
    const std::optional<QString> file =
        FileDialog::openFile(window_, QStringLiteral("Открываем файл"), QStringLiteral("*.*|*.*|*.txt|*.txt"));
    if (!file) return;
    runner_.clear();
    const tools::ListFile list = tools::readListFile(files::readFile(toPath(*file), listFileLimit));
    runner_.show(toQt(list.text));
    runner_.run([&](const auto& report, const auto& progress) {
        tools::mergeIntoBase(host_.session(), list, "Merge: " + QFileInfo(*file).fileName().toStdString(), report,
                             progress);
    });
}

} // namespace gamarium::gui
