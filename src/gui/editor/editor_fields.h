#pragma once

#include "core/store/record_fields.h"

#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace Ui {
class TForm2;
}

namespace gamarium::gui {

// How the editor colours a field's control (field_colours.cpp).
enum class FieldLook {
    Plain,    // never coloured
    Kept,     // highlighted with the focus; its colour stays from record to record
    Coloured, // highlighted with the focus, fresh again on every record shown
};

// One control of the record editor and the field of the game record it shows.
struct EditorField {
    store::FieldKey field;
    QWidget* control;     // a QLineEdit, QComboBox or QPlainTextEdit of the form
    QLabel* label;        // the label that names it, or nullptr
    FieldLook look;
    bool tabStop;         // Tab reaches it; the rest is reached by mouse
    QPushButton* chooser; // a picture field's "choose a picture" button, or nullptr
};

// Every field control of the editor, in the order they are bound: the one
// place that ties the form's controls to the record's fields.
std::vector<EditorField> editorFields(const Ui::TForm2& ui);

} // namespace gamarium::gui
