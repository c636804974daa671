#include "gui/widgets/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHash>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

#include <deque>

namespace gamarium::gui {
namespace {

struct Answer {
    bool chosen = false;
    QStringList files;
};

struct TestState {
    bool on = false;
    std::deque<Answer> answers;
    QList<FileDialog::Request> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

std::optional<QStringList> answerInTest(const QString& title, const QString& filter, const QString& folder) {
    TestState& test = testState();
    test.shown.append({title, filter, folder});
    if (test.answers.empty()) return std::nullopt;
    const Answer answer = test.answers.front();
    test.answers.pop_front();
    if (!answer.chosen) return std::nullopt;
    return answer.files;
}

std::optional<QString> firstOf(const std::optional<QStringList>& files) {
    if (!files || files->isEmpty()) return std::nullopt;
    return files->front();
}

// Where each dialog, by its title, was last left with a choice.
QHash<QString, QString>& lastFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

QString startFolder(const QString& title, const QString& startIn) {
    if (const auto last = lastFolders().constFind(title); last != lastFolders().constEnd()) return *last;
    return startIn.isEmpty() ? QDir::homePath() : startIn;
}

// Qt's own dialog (where the desktop offers none) names file kinds in
// English whatever the translations hold.
class RussianKinds : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QStringLiteral("Папка");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Файл") : QStringLiteral("Файл %1").arg(suffix.toUpper());
    }
};

std::optional<QStringList> shown(QWidget* parent, const QString& title, const QString& filter, const QString& folder,
                                 QFileDialog::FileMode mode) {
    if (testState().on) return answerInTest(title, filter, folder);
    QFileDialog dialog(parent, title, folder, FileDialog::qtFilter(filter));
    dialog.setFileMode(mode);
    if (mode == QFileDialog::Directory) dialog.setOption(QFileDialog::ShowDirsOnly);
    RussianKinds kinds;
    dialog.setIconProvider(&kinds);
    // Wide enough for the detail view, whose kinds, sizes and dates are shown whole.
    dialog.resize(std::max(dialog.width(), 760), std::max(dialog.height(), 460));
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < details->header()->count(); ++column)
            details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QStringList> ask(QWidget* parent, const QString& title, const QString& filter, const QString& startIn,
                               QFileDialog::FileMode mode) {
    std::optional<QStringList> chosen = shown(parent, title, filter, startFolder(title, startIn), mode);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    lastFolders()[title] = QFileInfo(chosen->front()).absolutePath();
    return chosen;
}

} // namespace

QString FileDialog::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList choices;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file, also one without an extension, as on Windows.
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        choices << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return choices.join(QStringLiteral(";;"));
}

std::optional<QString> FileDialog::openFile(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& startIn) {
    return firstOf(ask(parent, title, filter, startIn, QFileDialog::ExistingFile));
}

std::optional<QStringList> FileDialog::openFiles(QWidget* parent, const QString& title, const QString& filter,
                                                 const QString& startIn) {
    return ask(parent, title, filter, startIn, QFileDialog::ExistingFiles);
}

std::optional<QString> FileDialog::openFolder(QWidget* parent, const QString& title, const QString& startIn) {
    return firstOf(ask(parent, title, QString(), startIn, QFileDialog::Directory));
}

void FileDialog::setTestMode(bool on) {
    testState().on = on;
}

void FileDialog::queueAnswer(std::optional<QString> file) {
    testState().answers.push_back({file.has_value(), file ? QStringList{*file} : QStringList()});
}

void FileDialog::queueFiles(const QStringList& files) {
    testState().answers.push_back({true, files});
}

QList<FileDialog::Request> FileDialog::shownRequests() {
    return testState().shown;
}

void FileDialog::clear() {
    lastFolders().clear();
    testState().shown.clear();
    testState().answers.clear();
}

} // namespace gamarium::gui
