#include "widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace gamarium::gui {
namespace {

struct TestState {
    bool on = false;
    std::deque<MessageBox::Answer> answers;
    QStringList shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

QString buttonText(MessageBox::Answer answer) {
    switch (answer) {
    case MessageBox::Answer::Yes: return QStringLiteral("&Yes");
    case MessageBox::Answer::No: return QStringLiteral("&No");
    case MessageBox::Answer::Ok: return QStringLiteral("OK");
    case MessageBox::Answer::Cancel: return QStringLiteral("Cancel");
    }
    return {};
}

} // namespace

bool MessageBox::ask(QWidget* parent, const QString& text, Answer yes, Answer no) {
    TestState& test = testState();
    if (test.on) {
        test.shown << text;
        if (test.answers.empty()) return false;
        const Answer answer = test.answers.front();
        test.answers.pop_front();
        return answer == yes;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton, parent);
    QPushButton* yesButton = box.addButton(buttonText(yes), QMessageBox::YesRole);
    QPushButton* noButton = box.addButton(buttonText(no), QMessageBox::NoRole);
    box.setDefaultButton(yesButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

bool MessageBox::confirm(QWidget* parent, const QString& question) {
    return ask(parent, question, Answer::Yes, Answer::No);
}

bool MessageBox::okCancel(QWidget* parent, const QString& question) {
    return ask(parent, question, Answer::Ok, Answer::Cancel);
}

void MessageBox::error(QWidget* parent, const QString& message) {
    TestState& test = testState();
    if (test.on) {
        test.shown << message;
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
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

} // namespace gamarium::gui
