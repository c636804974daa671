#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace gamarium::store {
class Field;
class Table;
} // namespace gamarium::store

namespace gamarium::gui {

// Binds edits, memos and combo boxes to the fields of one table: each shows
// its field for the current record and follows every move; typing starts a
// change of the record; the typed texts go into the fields just before the
// record is posted (or the change dropped). An edit or combo box bound to a
// text field takes at most the field's size in characters.
class DataSource : public QObject {
    Q_OBJECT

public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The table the controls follow; nullptr lets go of it. Bind the
    // controls first: the sizes of text fields are read here.
    void setTable(store::Table* table);
    store::Table* table() const { return table_; }

    void bind(QLineEdit* edit, std::string field);
    void bind(QPlainTextEdit* memo, std::string field);
    void bind(QComboBox* box, std::string field);

    // Puts every text typed since the record was shown into its field.
    void writeControls();

signals:
    // The controls show another record, or the record in another state.
    void recordShown();

private:
    struct Binding;
    Binding& add(QWidget* control, std::string field);
    void startChange(Binding& binding);
    void show(Binding& binding);
    void tableChanged(const store::Field* changed);
    void applySizeLimits();

    std::vector<std::unique_ptr<Binding>> bindings_;
    store::Table* table_ = nullptr;
    int listener_ = 0;
    bool showing_ = false;        // texts set here are not typing
    bool startingChange_ = false; // the change begun by typing keeps its text
    bool writing_ = false;
};

} // namespace gamarium::gui
