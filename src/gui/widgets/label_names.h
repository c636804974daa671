#pragma once

#include <QString>

class QWidget;

namespace gamarium::gui {

// Gives each control a label names on screen (the label's buddy) that
// label's text as its accessible name, so that screen readers read it out
// on every platform; a control named already keeps its name.
void nameControlsByTheirLabels(QWidget* window);

// A control without a label or text of its own (a "..." button): its
// accessible name, shown as its tooltip too.
void nameControl(QWidget* control, const QString& name);

} // namespace gamarium::gui
