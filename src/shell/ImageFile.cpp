#include "ImageFile.h"

#include "FileSystem.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

namespace {

QByteArray readBytes(const QString& path) {
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path); // built into the program: nothing to guard against
        return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    }
    platform::FileRead read = platform::readRegularFile(QFile::encodeName(path).toStdString(),
                                                        static_cast<std::size_t>(maxImageFileBytes));
    if (read.status != platform::ReadStatus::Read) {
        return {};
    }
    return QByteArray(read.content.data(), static_cast<qsizetype>(read.content.size()));
}

QImage decode(QByteArray& bytes, const QByteArray& format) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    const QSize size = reader.size(); // from the header: nothing decoded yet
    if (size.isValid() && (size.width() > maxImageSide || size.height() > maxImageSide)) {
        return {};
    }
    QImage image;
    if (!reader.read(&image) || image.width() > maxImageSide || image.height() > maxImageSide) {
        return {};
    }
    return image;
}

} // namespace

QImage readImageFile(const QString& path) {
    QByteArray bytes = readBytes(path);
    if (bytes.isEmpty()) {
        return {};
    }
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QByteArray suffix = dot < 0 ? QByteArray() : path.mid(dot + 1).toLower().toLatin1();
    if (suffix == "bmp" || suffix == "png") {
        QImage image = decode(bytes, suffix);
        if (!image.isNull()) {
            return image;
        }
    }
    return decode(bytes, QByteArray());
}
