// The skin's picture reader: only regular files, read once, bounded in size and dimensions.
#include "shell/ImageFile.h"

#include "support/HostileFiles.h"
#include "support/ScratchDirectory.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <functional>

#include <sys/inotify.h>

using namespace std::chrono_literals;

namespace {

using ImageFile = ScratchDirectory;

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage face(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 60, 140));
    return image;
}

TEST_F(ImageFile, ANameThatIsNoPictureFileGivesNoImageAtOnce) {
    ASSERT_EQ(::mkdir("skin", 0700), 0);
    const QByteArray bmp = encoded(face(8, 4), "BMP");
    for (const auto& [kind, kindName] : hostile::kAllKinds) {
        SCOPED_TRACE(kindName);
        const std::string path = "skin/face" + std::to_string(int(kind)) + ".bmp";
        ASSERT_TRUE(
            hostile::plant(kind, path, static_cast<std::size_t>(maxImageFileBytes), bmp.toStdString()));
        const auto isNull = hostile::finishesWithin(
            1s, [path] { return readImageFile(QString::fromStdString(path)).isNull(); }, {path});
        ASSERT_TRUE(isNull.has_value()) << "the picture was not read within a second";
        EXPECT_TRUE(*isNull);
    }
}

TEST_F(ImageFile, PicturesAreDecodedByTheirContent) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size; // 0 x 0: no image
    };
    const Case cases[] = {
        {"face.bmp", encoded(face(30, 20), "BMP"), QSize(30, 20)},
        {"face.png", encoded(face(12, 7), "PNG"), QSize(12, 7)},
        {"png-named.bmp", encoded(face(5, 6), "PNG"), QSize(5, 6)},
        {"no-suffix", encoded(face(3, 3), "BMP"), QSize(3, 3)},
        {"garbage.bmp", QByteArray("BM this is not a picture"), QSize(0, 0)},
        {"empty.png", QByteArray(), QSize(0, 0)},
        {"wide.png", encoded(face(maxImageSide + 1, 1), "PNG"), QSize(0, 0)},
        {"tall.bmp", encoded(face(1, maxImageSide + 1), "BMP"), QSize(0, 0)},
        {"largest.png", encoded(face(maxImageSide, 1), "PNG"), QSize(maxImageSide, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.name, c.bytes.toStdString());
        const QImage image = readImageFile(QString::fromLatin1(c.name));
        EXPECT_EQ(image.size(), c.size);
    }
    EXPECT_TRUE(readImageFile(QStringLiteral("missing.bmp")).isNull());
}

// Pictures are kept between reads; whatever happens to the file shows at the next read, however
// soon it comes: a file rewritten in place with the same size, replaced, removed.
TEST_F(ImageFile, EveryChangeToTheFileShowsAtTheNextRead) {
    const auto coloured = [](QColor colour) {
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(colour);
        return encoded(image, "BMP").toStdString();
    };
    const auto colourRead = [] {
        const QImage image = readImageFile(QStringLiteral("face.bmp"));
        return image.isNull() ? QColor() : image.pixelColor(0, 0);
    };
    const struct Step {
        const char* what;
        std::function<void()> change;
        QColor expected; // invalid: no picture
    } steps[] = {
        {"first read", [&] { writeFile("face.bmp", coloured(Qt::red)); }, Qt::red},
        {"read again", [] {}, Qt::red},
        {"rewritten in place", [&] { writeFile("face.bmp", coloured(Qt::blue)); }, Qt::blue},
        {"replaced",
         [&] {
             writeFile("next.bmp", coloured(Qt::green));
             ::rename("next.bmp", "face.bmp");
         },
         Qt::green},
        {"removed", [] { ::unlink("face.bmp"); }, QColor()},
        {"a folder in its place", [] { ::mkdir("face.bmp", 0700); }, QColor()},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(colourRead(), step.expected) << step.what;
    }
}

// A picture that cannot be decoded under its name is tried again from the bytes already read,
// not by opening the file a second time (a second open of a pipe would wait again).
TEST_F(ImageFile, AFileIsOpenedOnce) {
    writeFile("broken.bmp", "BM not a bitmap at all");
    writeFile("fine.png", encoded(face(4, 4), "PNG").toStdString());
    for (const char* name : {"broken.bmp", "fine.png"}) {
        SCOPED_TRACE(name);
        const int watcher = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watcher, 0);
        // Closes are watched too: inotify merges an event with an identical one still unread.
        ASSERT_GE(::inotify_add_watch(watcher, name, IN_OPEN | IN_CLOSE), 0);
        (void)readImageFile(QString::fromLatin1(name));
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = ::read(watcher, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                opens += (event->mask & IN_OPEN) != 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        ::close(watcher);
        EXPECT_EQ(opens, 1);
    }
}

} // namespace
