#pragma once

#include "core/tools/base_tools.h"
#include "gui/tools/tool_host.h"

class QLineEdit;
class QWidget;

namespace gamarium::gui {

class ToolRunner;

// The tools of the editor's "Управление" group, run on the open base
// through the core's use cases and reporting in the status memo.
class ToolButtons {
public:
    // `newNameBox` shows the last new name given to a game.
    ToolButtons(QWidget* window, ToolRunner& runner, ToolHost host, QLineEdit* newNameBox);

    void renumber();
    void check(tools::Check check);
    void rename();
    void light();
    void merge();

private:
    QWidget* window_;
    ToolRunner& runner_;
    ToolHost host_;
    QLineEdit* newNameBox_;
};

} // namespace gamarium::gui
