#include "gui/tools/tool_runner.h"

#include "core/text/cp1251.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace gamarium::gui {

ToolRunner::ToolRunner(QWidget* window, QPlainTextEdit* status, QProgressBar* progress,
                       std::function<void()> saveTyping)
    : QObject(window), window_(window), status_(status), progress_(progress), saveTyping_(std::move(saveTyping)) {}

void ToolRunner::run(const Work& work) {
    saveTyping_();
    // Everything but the report and the bar waits.
    QList<QWidget*> disabled;
    for (QWidget* child : window_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == status_ || child == progress_ || !child->isEnabled()) continue;
        child->setEnabled(false);
        disabled << child;
    }
    window_->installEventFilter(this);
    progress_->setValue(0);
    progress_->show();
    struct RunEnd {
        ToolRunner& runner;
        const QList<QWidget*>& disabled;
        ~RunEnd() {
            runner.progress_->hide();
            runner.window_->removeEventFilter(&runner);
            for (QWidget* child : disabled) child->setEnabled(true);
        }
    } runEnd{*this, disabled};
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    work(reporter(), [&](int done, int total) {
        if (sinceEvents.elapsed() < 30 && done < total) return;
        progress_->setMaximum(total);
        progress_->setValue(done);
        // The window's input waits: a click cannot start a tool or move
        // the cursor meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceEvents.restart();
    });
}

// While a tool runs the window is not closed, whoever asks.
bool ToolRunner::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::Close) return false;
    event->ignore();
    return true;
}

void ToolRunner::clear() {
    status_->clear();
}

void ToolRunner::show(const QString& text) {
    status_->setPlainText(text);
}

void ToolRunner::report(const text::StoredText& line) {
    reportUtf8(text::toUtf8(line));
}

void ToolRunner::reportUtf8(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    status_->appendPlainText(text);
}

tools::StatusSink ToolRunner::reporter() {
    return [this](const text::StoredText& line) { report(line); };
}

} // namespace gamarium::gui
