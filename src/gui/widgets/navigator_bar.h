#pragma once

#include <QWidget>

#include <array>
#include <vector>

class QToolButton;

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

// The bar of buttons that moves through a table and saves it: First, Prior,
// Next, Last, Insert, Delete, Post. Each window chooses which of them it
// shows. A button that can do nothing is disabled; Delete asks first.
class NavigatorBar : public QWidget {
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Post };

    explicit NavigatorBar(QWidget* parent = nullptr);
    ~NavigatorBar() override;

    void setTable(store::Table* table);
    void setButtons(const std::vector<Button>& shown);
    // Flat buttons show their edges only under the pointer.
    void setFlat(bool flat);
    QToolButton* button(Button which) const;

    // Does what the button does, as a click on it would.
    void press(Button which);

signals:
    // After a button's action has been done.
    void clicked(gamarium::gui::NavigatorBar::Button which);

private:
    void updateButtons();

    std::array<QToolButton*, 7> buttons_{};
    store::Table* table_ = nullptr;
    int listener_ = 0;
};

} // namespace gamarium::gui
