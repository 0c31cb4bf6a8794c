#include "ImageFile.h"

#include <QImageReader>

QImage readImageFile(const QString& path) {
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QByteArray suffix = dot < 0 ? QByteArray() : path.mid(dot + 1).toLower().toLatin1();
    if (suffix == "bmp" || suffix == "png") {
        QImageReader reader(path, suffix);
        reader.setAutoDetectImageFormat(false);
        QImage image;
        if (reader.read(&image)) {
            return image;
        }
    }
    return QImage(path);
}
