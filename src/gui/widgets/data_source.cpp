#include "widgets/data_source.h"

#include "store/table.h"
#include "widgets/qt_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace gamarium::gui {

struct DataSource::Binding {
    QWidget* control = nullptr;
    std::string field;
    bool typed = false; // the user changed the text since the record was shown
    std::function<QString()> text;
    std::function<void(const QString&)> setText;
    std::function<void(int)> setMaxLength;
};

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() {
    setTable(nullptr);
}

void DataSource::setTable(store::Table* table) {
    if (table_) {
        table_->removeChangeListener(listener_);
        table_->setBeforePost(nullptr);
    }
    table_ = table;
    if (table_) {
        listener_ = table_->addChangeListener([this](const store::Field* changed) { tableChanged(changed); });
        table_->setBeforePost([this] { writeControls(); });
    }
    tableChanged(nullptr);
}

DataSource::Binding& DataSource::add(QWidget* control, std::string field) {
    auto binding = std::make_unique<Binding>();
    binding->control = control;
    binding->field = std::move(field);
    bindings_.push_back(std::move(binding));
    return *bindings_.back();
}

void DataSource::bind(QLineEdit* edit, std::string field) {
    Binding& binding = add(edit, std::move(field));
    binding.text = [edit] { return edit->text(); };
    binding.setText = [edit](const QString& text) {
        edit->setText(text);
        edit->setCursorPosition(0);
    };
    binding.setMaxLength = [edit](int length) { edit->setMaxLength(length); };
    connect(edit, &QLineEdit::textEdited, this, [this, &binding] { startChange(binding); });
}

void DataSource::bind(QPlainTextEdit* memo, std::string field) {
    Binding& binding = add(memo, std::move(field));
    binding.text = [memo] { return memo->toPlainText(); };
    binding.setText = [memo](const QString& text) { memo->setPlainText(text); };
    connect(memo, &QPlainTextEdit::textChanged, this, [this, &binding] {
        if (!showing_) startChange(binding);
    });
}

void DataSource::bind(QComboBox* box, std::string field) {
    Binding& binding = add(box, std::move(field));
    binding.text = [box] { return box->currentText(); };
    binding.setText = [box](const QString& text) { box->setEditText(text); };
    binding.setMaxLength = [box](int length) {
        if (box->lineEdit()) box->lineEdit()->setMaxLength(length);
    };
    if (box->lineEdit()) connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, &binding] { startChange(binding); });
    connect(box, &QComboBox::activated, this, [this, &binding] { startChange(binding); });
}

void DataSource::startChange(Binding& binding) {
    if (!table_ || !table_->isOpen()) return;
    binding.typed = true;
    startingChange_ = true;
    try {
        table_->edit();
    } catch (...) {
        startingChange_ = false;
        throw;
    }
    startingChange_ = false;
}

void DataSource::writeControls() {
    if (!table_) return;
    writing_ = true;
    try {
        for (const auto& binding : bindings_) {
            if (!binding->typed) continue;
            table_->fieldByName(binding->field).setAsString(fromQt(binding->text()));
            binding->typed = false;
        }
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void DataSource::show(Binding& binding) {
    const bool open = table_ && table_->isOpen();
    const QString text = open ? toQt(table_->fieldByName(binding.field).asString()) : QString();
    if (binding.text() == text) return;
    showing_ = true;
    binding.setText(text);
    showing_ = false;
}

void DataSource::applySizeLimits() {
    for (const auto& binding : bindings_) {
        if (!binding->setMaxLength) continue;
        const store::Field* field = table_ && table_->isOpen() ? table_->findField(binding->field) : nullptr;
        const bool text = field && field->type() == store::FieldType::Text;
        binding->setMaxLength(text ? field->size() : 32767);
    }
}

void DataSource::tableChanged(const store::Field* changed) {
    if (changed) {
        // A value written from code shows at once, in place of any typing.
        if (writing_) return;
        for (const auto& binding : bindings_) {
            if (binding->field != changed->name()) continue;
            binding->typed = false;
            show(*binding);
        }
        return;
    }
    const bool open = table_ && table_->isOpen();
    if (!startingChange_ && (!open || table_->state() != store::TableState::Edit))
        for (const auto& binding : bindings_) binding->typed = false;
    applySizeLimits();
    for (const auto& binding : bindings_)
        if (!binding->typed) show(*binding);
    emit recordShown();
}

} // namespace gamarium::gui
