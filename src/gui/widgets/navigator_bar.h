#pragma once

#include <QWidget>

#include <array>
#include <vector>

class QToolButton;

namespace gamarium::gui {

class RecordForm;

// The bar of buttons that moves through a form's table and saves it:
// First, Prior, Next, Last, Insert, Delete, Post. Each window chooses which
// of them it shows. A button that can do nothing is disabled; Delete asks
// first. What was typed in the form is saved with the record, where it
// stands, before every button but Delete.
class NavigatorBar : public QWidget {
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Post };

    explicit NavigatorBar(QWidget* parent = nullptr);
    ~NavigatorBar() override;

    // The form whose table the bar works on; nullptr lets go.
    void setForm(RecordForm* form);
    void setButtons(const std::vector<Button>& shown);
    // Flat buttons show their edges only under the pointer.
    void setFlat(bool flat);
    QToolButton* button(Button which) const;

signals:
    // After a button's action, or after Delete was not confirmed.
    void clicked(gamarium::gui::NavigatorBar::Button which);

private:
    void press(Button which);
    void updateButtons();

    std::array<QToolButton*, 7> buttons_{};
    RecordForm* form_ = nullptr;
    QMetaObject::Connection formChanged_;
};

} // namespace gamarium::gui
