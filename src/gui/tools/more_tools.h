#pragma once

#include "gui/tools/tool_host.h"

class QWidget;

namespace gamarium::gui {

class ToolRunner;

// The tools of the editor's "Ещё" menu that work on the whole base: DAT
// files, pictures by name and the audit of the picture folders.
class MoreTools {
public:
    MoreTools(QWidget* window, ToolRunner& runner, ToolHost host);

    // A damaged file is refused before the table is touched.
    void importDatFiles();
    // Each picture goes into the first empty ImageN of its game.
    void addPicturesByName();
    // Orphans are moved only when the user agrees; moving them back undoes it.
    void auditPictureFolders();

private:
    QWidget* window_;
    ToolRunner& runner_;
    ToolHost host_;
};

} // namespace gamarium::gui
