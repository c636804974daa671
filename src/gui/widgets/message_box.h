#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace gamarium::gui {

// Every message box of the program goes through here, so that tests can
// answer them without a person: in test mode nothing is shown, the texts are
// recorded and the answers come from a queue.
class MessageBox {
public:
    enum class Answer { Yes, No };

    // The confirmation box: caption "Confirm", question icon, "&Yes"/"&No",
    // Enter giving `byDefault` (No where a slip of the key would be a risk).
    static bool confirm(QWidget* parent, const QString& question, Answer byDefault = Answer::Yes);
    // A question with "OK" and "Cancel" (the navigator's "Delete record?").
    // In test mode the queued answer Yes stands for OK.
    static bool okCancel(QWidget* parent, const QString& question);
    // An error message, caption "Gamarium".
    static void error(QWidget* parent, const QString& message);
    // A message that is no error (a run refused, a doubtful entry), with
    // the information icon; caption "Gamarium".
    static void inform(QWidget* parent, const QString& message);

    // A password for `question`, typed hidden, with the check box
    // `keepChoice` under it, in a dialog whose caption is `caption`;
    // nothing when cancelled. Tests see the caption and the question, a
    // line apart.
    struct TypedPassword {
        QString password;
        bool keep = false;  // the check box was ticked
    };
    static std::optional<TypedPassword> password(QWidget* parent, const QString& caption, const QString& question,
                                                 const QString& keepChoice);

    // Test hooks.
    static void setTestMode(bool on);
    static void queuePassword(std::optional<TypedPassword> answer);
    static void queueAnswer(Answer answer);
    static QStringList shownTexts();
    static void clearShownTexts();
};

} // namespace gamarium::gui
