#include "gui/widgets/navigator_bar.h"

#include "core/store/table.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/record_form.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace gamarium::gui {
namespace {

struct ButtonLook {
    const char* glyph;
    const char* name;    // the accessible name
    const char* tooltip; // Russian, as the user reads it
};

const ButtonLook kLooks[] = {
    {"|◀", "First", "Первая запись"},   {"◀", "Prior", "Предыдущая запись"},  {"▶", "Next", "Следующая запись"},
    {"▶|", "Last", "Последняя запись"}, {"+", "Insert", "Вставить запись"},   {"−", "Delete", "Удалить запись"},
    {"✔", "Post", "Сохранить запись"},
};

std::size_t indexOf(NavigatorBar::Button which) {
    return static_cast<std::size_t>(which);
}

} // namespace

NavigatorBar::NavigatorBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new QToolButton(this);
        const ButtonLook& look = kLooks[i];
        button->setText(QString::fromUtf8(look.glyph));
        button->setObjectName(QString::fromLatin1(look.name));
        button->setAccessibleName(QString::fromLatin1(look.name));
        button->setToolTip(QString::fromUtf8(look.tooltip));
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const auto which = static_cast<Button>(i);
        onSignal(button, &QToolButton::clicked, this, [this, which] { press(which); });
        layout->addWidget(button);
        buttons_[i] = button;
    }
    updateButtons();
}

NavigatorBar::~NavigatorBar() = default;

void NavigatorBar::setForm(RecordForm* form) {
    disconnect(formChanged_);
    form_ = form;
    if (form_) formChanged_ = onSignal(form_, &RecordForm::changed, this, [this] { updateButtons(); });
    updateButtons();
}

void NavigatorBar::setButtons(const std::vector<Button>& shown) {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setVisible(std::find(shown.begin(), shown.end(), static_cast<Button>(i)) != shown.end());
}

void NavigatorBar::setFlat(bool flat) {
    for (QToolButton* button : buttons_) button->setAutoRaise(flat);
}

QToolButton* NavigatorBar::button(Button which) const {
    return buttons_[indexOf(which)];
}

void NavigatorBar::press(Button which) {
    store::Table* table = form_ ? form_->table() : nullptr;
    if (!table || !table->isOpen()) return;
    if (which != Button::Delete && which != Button::Post) form_->save();
    switch (which) {
    case Button::First: table->first(); break;
    case Button::Prior: table->prior(); break;
    case Button::Next: table->next(); break;
    case Button::Last: table->last(); break;
    case Button::Insert: table->insert(); break;
    case Button::Delete:
        if (MessageBox::okCancel(this, QStringLiteral("Delete record?"))) table->remove();
        break;
    case Button::Post: form_->post(); break;
    }
    updateButtons();
    emit clicked(which);
}

void NavigatorBar::updateButtons() {
    const store::Table* table = form_ ? form_->table() : nullptr;
    const bool open = table && table->isOpen();
    const bool browsing = open && table->state() == store::TableState::Browse;
    const bool changing = open && !browsing;
    const bool atStart = !open || (browsing && (table->isEmpty() || table->recordNumber() <= 1));
    const bool atEnd = !open || (browsing && (table->isEmpty() || table->recordNumber() >= table->recordCount()));
    button(Button::First)->setEnabled(!atStart);
    button(Button::Prior)->setEnabled(!atStart);
    button(Button::Next)->setEnabled(!atEnd);
    button(Button::Last)->setEnabled(!atEnd);
    button(Button::Insert)->setEnabled(open);
    button(Button::Delete)->setEnabled(open && (changing || !table->isEmpty()));
    button(Button::Post)->setEnabled(changing);
}

} // namespace gamarium::gui
