#pragma once

#include "core/store/table.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace gamarium::gui {

// A window's form: its controls bound to the fields of one table's current
// record. Data goes one way at a time. When the table tells of a change,
// the form shows the record in the controls (nothing else writes a bound
// control); typing starts a change of the record; collect() gives what the
// user typed, and the window hands that to the table when it posts or
// moves. An edit or combo box bound to a text field takes at most the
// field's size in characters; a memo keeps the program's CR LF line ends.
class RecordForm : public QObject {
    Q_OBJECT

public:
    explicit RecordForm(QWidget* window);
    ~RecordForm() override;

    void bind(QLineEdit* edit, store::FieldKey field);
    void bind(QPlainTextEdit* memo, store::FieldKey field);
    void bind(QComboBox* box, store::FieldKey field);

    // The table the controls follow; nullptr lets go of it (the controls
    // are emptied). Bind the controls first: the sizes of text fields are
    // read here.
    void setTable(store::Table* table);
    store::Table* table() const { return table_; }

    // Something was typed since the record was shown.
    bool typed() const;
    // The texts typed since the record was shown, by field. A character
    // that Windows-1251 cannot hold is refused with an Error naming it.
    store::RecordValues collect() const;
    // Puts what was typed into the record, so that the table operation
    // that follows (a move, a post) saves it with the record.
    void putTyping();
    // Puts what was typed into the record and saves it where it stands, as
    // a move would save it before moving (a change that holds nothing new
    // is dropped), so that listeners of the table hear the post on the
    // record that was changed.
    void save();
    // Posts the change under way with what was typed.
    void post();

signals:
    // The controls have followed a change of the table.
    void changed();

private:
    struct Binding;
    Binding& add(QWidget* control, store::FieldKey field);
    void startChange(Binding& binding);
    void show(Binding& binding);
    void showRecord(bool keepTyping);
    void heard(const store::ChangeEvent& event);
    void applySizeLimits();

    QWidget* window_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    store::Table* table_ = nullptr;
    int listener_ = 0;
};

} // namespace gamarium::gui
