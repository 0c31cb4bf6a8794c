#include "shell/ImageFile.h"

#include "platform/FileSystem.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QImageReader>

#include <mutex>
#include <optional>

namespace {

// Pictures already decoded, for the skin's page buttons: every page switch sets all of them
// again. A file's picture is reused while its stamp proves the file unchanged (the rule of the
// settings files); a built-in one never changes. Only pictures of a button's size are kept: the
// window's face is read once, and holding it would double its share of the memory.
constexpr qsizetype maxCachedImageBytes = qsizetype{256} << 10;
constexpr qsizetype maxCachedImages = 64;

struct CachedImage {
    std::optional<platform::FileStamp> stamp; // of the file decoded; none for a built-in picture
    int64_t checkedAtNs = 0;                  // the file held those bytes at this time
    QImage image;
};

class ImageCache {
public:
    std::optional<QImage> find(const QString& path, const std::optional<platform::FileStamp>& stamp,
                               int64_t nowNs) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        const auto it = m_images.constFind(path);
        if (it == m_images.cend()) {
            return std::nullopt;
        }
        const bool builtIn = !it->stamp;
        if (builtIn || (stamp && *stamp == *it->stamp &&
                        platform::stampProvesContent(stamp->modifiedNs, it->checkedAtNs, nowNs))) {
            return it->image;
        }
        return std::nullopt;
    }

    void keep(const QString& path, CachedImage entry) {
        if (entry.image.sizeInBytes() > maxCachedImageBytes) {
            return;
        }
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (m_images.size() >= maxCachedImages) {
            m_images.clear();
        }
        m_images.insert(path, std::move(entry));
    }

    void forget(const QString& path) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_images.remove(path);
    }

private:
    std::mutex m_mutex;
    QHash<QString, CachedImage> m_images;
};

ImageCache& cache() {
    static ImageCache instance;
    return instance;
}

bool isBuiltIn(const QString& path) {
    return path.startsWith(QLatin1Char(':'));
}

// The file's bytes and the stamp of the file they came from.
QByteArray readBytes(const QString& path, std::optional<platform::FileStamp>& stamp) {
    if (isBuiltIn(path)) {
        QFile resource(path); // built into the program: nothing to guard against
        return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    }
    platform::FileRead read = platform::readRegularFile(QFile::encodeName(path).toStdString(),
                                                        static_cast<std::size_t>(maxImageFileBytes));
    if (read.status != platform::ReadStatus::Read) {
        return {};
    }
    stamp = read.stamp;
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

// The picture at path, and the stamp of the file it was decoded from.
QImage readAndDecode(const QString& path, std::optional<platform::FileStamp>& stamp) {
    QByteArray bytes = readBytes(path, stamp);
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

} // namespace

QImage readImageFile(const QString& path) {
    const int64_t now = platform::realTimeNs(); // before the look: a later change shows in the stamp
    std::optional<platform::FileStamp> current;
    if (!isBuiltIn(path)) {
        current = platform::stampOf(QFile::encodeName(path).toStdString());
        if (!current) {
            // Gone, or no longer a regular file: the reader refuses it at once.
            cache().forget(path);
            std::optional<platform::FileStamp> none;
            return readAndDecode(path, none);
        }
    }
    if (std::optional<QImage> known = cache().find(path, current, now)) {
        return *known;
    }
    std::optional<platform::FileStamp> stamp;
    QImage image = readAndDecode(path, stamp);
    if (!image.isNull()) {
        cache().keep(path, CachedImage{stamp, now, image});
    }
    return image;
}
