#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace gamarium::gui {

// Gives a control the text of the label that names it as its accessible
// name (with `detail` after a colon where one label names several
// controls), and makes the label its buddy, so that screen readers and UI
// robots find the control by what the user reads.
void nameAfterLabel(QLabel* label, QWidget* control, const QString& detail = QString());

// A control without text of its own (a "..." button): accessible name and tooltip.
void nameControl(QWidget* control, const QString& name);

// The font of a control at a point size, bold or not; the face stays.
void setFontOf(QWidget* control, int points, bool bold);

} // namespace gamarium::gui
