#include "pictures/picture_loader.h"

#include "app/main_window.h"
#include "app/windows.h"
#include "editor/editor_window.h"
#include "files/files.h"
#include "pictures/decoder.h"
#include "pictures/picture_folder.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace gamarium::gui {

void picl(Windows& windows, const std::string& name, QLabel* view) {
    QWidget* preview = windows.form2()->previewPanel();
    preview->setVisible(true);
    const files::Path file = pictures::pictureFile(windows.form1()->picfolder, name);
    if (name.empty() || !files::fileExists(file)) {
        preview->setVisible(false);
        return;
    }
    const pictures::Picture picture = pictures::decodePicture(file);
    QPixmap pixmap;
    if (picture.empty()) {
        // Let the windows catch up after a file that would not decode.
        QCoreApplication::processEvents();
    } else {
        const QImage image(picture.rgb.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888);
        pixmap = QPixmap::fromImage(image);
    }
    view->setPixmap(pixmap);
    view->resize(pixmap.size());
}

} // namespace gamarium::gui
