#pragma once

#include "core/tools/status.h"

#include <QObject>

#include <functional>
#include <string>

class QPlainTextEdit;
class QProgressBar;
class QString;
class QWidget;

namespace gamarium::gui {

// Runs a window's whole-base tools on the window's thread and shows their
// reports in its status memo. While a tool runs the window's other
// controls are disabled and its closing is refused, so that nothing moves
// the shared cursor under the tool; the progress bar moves and timers and
// painting go on, while clicks and keys wait until the tool has ended.
class ToolRunner : public QObject {
    Q_OBJECT

public:
    using Work = std::function<void(const tools::StatusSink& report, const tools::Progress& progress)>;

    // `saveTyping` saves what was typed before a tool starts.
    ToolRunner(QWidget* window, QPlainTextEdit* status, QProgressBar* progress, std::function<void()> saveTyping);

    // Saves the typing, then runs `work`; an error it throws passes on,
    // the window given back first.
    void run(const Work& work);

    // A new task: the last one's report goes.
    void clear();
    // Shows a file's own text as the report.
    void show(const QString& text);
    // A status line (Windows-1251); a carriage return starts a new line.
    void report(const text::StoredText& line);
    // A line that quotes a file's own text (UTF-8).
    void reportUtf8(const std::string& utf8);
    tools::StatusSink reporter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPlainTextEdit* status_;
    QProgressBar* progress_;
    std::function<void()> saveTyping_;
};

} // namespace gamarium::gui
