#include "gui/widgets/message_box.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <deque>

namespace gamarium::gui {
namespace {

struct TestState {
    bool on = false;
    std::deque<MessageBox::Answer> answers;
    std::deque<std::optional<MessageBox::TypedPassword>> passwords;  // nothing stands for Cancel
    QStringList shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

} // namespace

namespace {

// In test mode: records the question and takes the next queued answer.
bool answerInTest(const QString& question) {
    TestState& test = testState();
    test.shown << question;
    if (test.answers.empty()) return false;
    const MessageBox::Answer answer = test.answers.front();
    test.answers.pop_front();
    return answer == MessageBox::Answer::Yes;
}

} // namespace

bool MessageBox::okCancel(QWidget* parent, const QString& question) {
    if (testState().on) return answerInTest(question);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

bool MessageBox::confirm(QWidget* parent, const QString& question, Answer byDefault) {
    if (testState().on) return answerInTest(question);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(byDefault == Answer::Yes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

namespace {

// A message with only "OK" to answer; in test mode recorded.
void show(QWidget* parent, QMessageBox::Icon icon, const QString& message) {
    TestState& test = testState();
    if (test.on) {
        test.shown << message;
        return;
    }
    // The core ends lines with CR, as the Windows message box reads them.
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(icon, QStringLiteral("Gamarium"), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void MessageBox::error(QWidget* parent, const QString& message) {
    show(parent, QMessageBox::Critical, message);
}

void MessageBox::inform(QWidget* parent, const QString& message) {
    show(parent, QMessageBox::Information, message);
}

void MessageBox::setTestMode(bool on) {
    testState().on = on;
}

void MessageBox::queueAnswer(Answer answer) {
    testState().answers.push_back(answer);
}

QStringList MessageBox::shownTexts() {
    return testState().shown;
}

void MessageBox::clearShownTexts() {
    testState().shown.clear();
    testState().answers.clear();
}

std::optional<MessageBox::TypedPassword> MessageBox::password(QWidget* parent, const QString& caption,
                                                              const QString& question, const QString& keepChoice) {
    TestState& test = testState();
    if (test.on) {
        test.shown << caption + QLatin1Char('\n') + question;
        if (test.passwords.empty()) return std::nullopt;
        const std::optional<TypedPassword> answer = test.passwords.front();
        test.passwords.pop_front();
        return answer;
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(question, &dialog);
    label->setWordWrap(true);
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    label->setBuddy(edit);
    auto* keep = new QCheckBox(keepChoice, &dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(keep);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TypedPassword{edit->text(), keep->isChecked()};
}

void MessageBox::queuePassword(std::optional<TypedPassword> answer) {
    testState().passwords.push_back(std::move(answer));
}

} // namespace gamarium::gui
