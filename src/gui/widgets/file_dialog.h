#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace gamarium::gui {

// Every file dialog of the program goes through here, so that tests can
// answer them without a person: in test mode nothing is shown, the dialogs
// asked for are recorded and the chosen files come from a queue.
class FileDialog {
public:
    // The file-open dialog. `filter` lists pairs of a name and its patterns
    // separated by "|", patterns of one choice by ";" ("Шаблоны|*.htd|Все
    // файлы|*.*"), the first choice selected. No file when the user cancels.
    // Each dialog opens where a dialog of its title was last left with a
    // choice, else in `startIn`, else in the user's home folder.
    static std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& filter,
                                           const QString& startIn = {});
    // The same for several files at once; no files when the user cancels.
    static std::optional<QStringList> openFiles(QWidget* parent, const QString& title, const QString& filter,
                                                const QString& startIn = {});
    // The folder dialog; no folder when the user cancels.
    static std::optional<QString> openFolder(QWidget* parent, const QString& title, const QString& startIn = {});

    // The filter in Qt's form: "Шаблоны (*.htd);;Все файлы (*.*)".
    static QString qtFilter(const QString& filter);

    // Test hooks. An empty queue answers as a cancel; a dialog for one file
    // or folder takes the first of the files queued.
    struct Request {
        QString title;
        QString filter; // empty for the folder dialog
        QString folder; // where it opens
    };
    static void setTestMode(bool on);
    static void queueAnswer(std::optional<QString> file);
    static void queueFiles(const QStringList& files);
    static QList<Request> shownRequests();
    static void clear();
};

} // namespace gamarium::gui
