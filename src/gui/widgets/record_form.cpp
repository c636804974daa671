#include "gui/widgets/record_form.h"

#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace gamarium::gui {

struct RecordForm::Binding {
    Binding(QWidget* bound, store::FieldKey key) : control(bound), field(key) {}
    QWidget* control;
    store::FieldKey field;
    bool typed = false; // the user changed the text since the record was shown
    // The control's text with the program's line ends, and setting it.
    std::function<QString()> text;
    std::function<void(const QString&)> setText;
    std::function<void(int)> setMaxLength;
};

RecordForm::RecordForm(QWidget* window) : QObject(window), window_(window) {}

RecordForm::~RecordForm() {
    if (table_) table_->removeChangeListener(listener_);
}

RecordForm::Binding& RecordForm::add(QWidget* control, store::FieldKey field) {
    auto binding = std::make_unique<Binding>(control, field);
    bindings_.push_back(std::move(binding));
    return *bindings_.back();
}

void RecordForm::bind(QLineEdit* edit, store::FieldKey field) {
    Binding& binding = add(edit, field);
    binding.text = [edit] { return edit->text(); };
    binding.setText = [edit](const QString& text) {
        edit->setText(text);
        edit->setCursorPosition(0);
    };
    binding.setMaxLength = [edit](int length) { edit->setMaxLength(length); };
    onSignal(edit, &QLineEdit::textEdited, window_, [this, &binding] { startChange(binding); });
}

void RecordForm::bind(QPlainTextEdit* memo, store::FieldKey field) {
    Binding& binding = add(memo, field);
    binding.text = [memo] { return withCrLf(memo->toPlainText()); };
    binding.setText = [memo](const QString& text) {
        // The form's own writing is no typing.
        const QSignalBlocker quiet(memo);
        memo->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    onSignal(memo, &QPlainTextEdit::textChanged, window_, [this, &binding] { startChange(binding); });
}

void RecordForm::bind(QComboBox* box, store::FieldKey field) {
    Binding& binding = add(box, field);
    binding.text = [box] { return box->currentText(); };
    binding.setText = [box](const QString& text) {
        box->setEditText(text);
        // A text longer than the box shows from its start.
        if (box->lineEdit()) box->lineEdit()->setCursorPosition(0);
    };
    binding.setMaxLength = [box](int length) {
        if (box->lineEdit()) box->lineEdit()->setMaxLength(length);
    };
    if (box->lineEdit()) onSignal(box->lineEdit(), &QLineEdit::textEdited, window_, [this, &binding] { startChange(binding); });
    onSignal(box, &QComboBox::activated, window_, [this, &binding] { startChange(binding); });
}

void RecordForm::setTable(store::Table* table) {
    if (table_) table_->removeChangeListener(listener_);
    table_ = table;
    if (table_) listener_ = table_->addChangeListener([this](const store::ChangeEvent& event) { heard(event); });
    applySizeLimits();
    showRecord(false);
}

void RecordForm::startChange(Binding& binding) {
    if (!table_ || !table_->isOpen()) return;
    binding.typed = true;
    table_->edit();
}

bool RecordForm::typed() const {
    return std::any_of(bindings_.begin(), bindings_.end(), [](const auto& binding) { return binding->typed; });
}

store::RecordValues RecordForm::collect() const {
    store::RecordValues values;
    for (const auto& binding : bindings_)
        if (binding->typed) {
            const std::string name(binding->field.name());
            values.emplace_back(name, typedText(binding->text(), "Поле «" + name + "»"));
        }
    return values;
}

void RecordForm::putTyping() {
    if (!table_ || !typed()) return;
    const store::RecordValues values = collect();
    table_->edit();
    table_->setValues(values);
}

void RecordForm::save() {
    putTyping();
    // A move by no record saves the change under way in place.
    if (table_ && table_->isOpen()) table_->moveBy(0);
}

void RecordForm::post() {
    table_->post(collect());
}

// Sets a control's text only when it differs, so that the caret and the
// scroll position of a text that stays stay too.
void RecordForm::show(Binding& binding) {
    const bool open = table_ && table_->isOpen();
    const text::StoredText value = open ? table_->field(binding.field).asString() : text::StoredText();
    const QString text = toQt(value);
    if (binding.text() != text) binding.setText(text);
}

void RecordForm::showRecord(bool keepTyping) {
    for (const auto& binding : bindings_) {
        if (keepTyping && binding->typed) continue;
        binding->typed = false;
        show(*binding);
    }
    emit changed();
}

void RecordForm::applySizeLimits() {
    for (const auto& binding : bindings_) {
        if (!binding->setMaxLength) continue;
        const store::Field* field = table_ && table_->isOpen() ? table_->findField(binding->field.name()) : nullptr;
        const bool text = field && field->type() == store::FieldType::Text;
        binding->setMaxLength(text ? field->size() : 32767);
    }
}

// A value written into one field shows in its control, unless the user
// typed there: the typing goes with the record. A change that only begins
// keeps the typing (typing begins it); anything else shows the record.
void RecordForm::heard(const store::ChangeEvent& event) {
    switch (event.kind) {
    case store::ChangeEvent::Kind::ValueWritten:
        for (const auto& binding : bindings_)
            if (!binding->typed && binding->field.name() == event.field->name()) show(*binding);
        emit changed();
        break;
    case store::ChangeEvent::Kind::Began: showRecord(true); break;
    default: showRecord(false); break;
    }
}

} // namespace gamarium::gui
