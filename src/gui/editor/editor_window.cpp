#include "editor/editor_window.h"

#include "widgets/fixed_window.h"

#include <QFrame>
#include <QLabel>

namespace gamarium::gui {

TForm2::TForm2(Windows&) : Panel1(new QFrame(this)), Image1(new QLabel(Panel1)) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Редактирование базы данных"));
    makeFixedWindow(this, 372, 557);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(380, 290, 320, 259);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 320, 256);
    Image1->setScaledContents(true);
}

} // namespace gamarium::gui
