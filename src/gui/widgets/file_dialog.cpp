#include "gui/widgets/file_dialog.h"

#include <QFileDialog>

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

std::optional<QStringList> answerInTest(const QString& title, const QString& filter) {
    TestState& test = testState();
    test.shown.append({title, filter});
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

std::optional<QString> FileDialog::openFile(QWidget* parent, const QString& title, const QString& filter) {
    if (testState().on) return firstOf(answerInTest(title, filter));
    const QString file = QFileDialog::getOpenFileName(parent, title, QString(), qtFilter(filter));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QStringList> FileDialog::openFiles(QWidget* parent, const QString& title, const QString& filter) {
    if (testState().on) return answerInTest(title, filter);
    const QStringList files = QFileDialog::getOpenFileNames(parent, title, QString(), qtFilter(filter));
    if (files.isEmpty()) return std::nullopt;
    return files;
}

std::optional<QString> FileDialog::openFolder(QWidget* parent, const QString& title) {
    if (testState().on) return firstOf(answerInTest(title, QString()));
    const QString folder = QFileDialog::getExistingDirectory(parent, title);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
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
    testState().shown.clear();
    testState().answers.clear();
}

} // namespace gamarium::gui
