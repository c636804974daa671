#include "gui/pictures/picture_loader.h"

#include "core/pictures/decoder.h"
#include "core/pictures/picture_folder.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace gamarium::gui {

bool picl(const files::Path& folder, const text::StoredText& name, QLabel* view) {
    const files::Path file = pictures::pictureFile(folder, name);
    if (name.empty() || !files::fileExists(file)) return false;
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
    return true;
}

} // namespace gamarium::gui
