// Draws every picture of the program and writes the delivered run files.
//   skyvane_artgen <resources folder> [preview.png]
// The output is committed; run resources/artwork/generate after changing a drawing.
//
// Every bitmap of the window also gets its large rendition, "name@2x", drawn at twice the
// resolution for screens of device pixel ratio 2. Those of the skin go to skin2x/, not skin/:
// skin/ is copied into each user's folder, where the user may change a picture; the large
// renditions stay built into the program and go only with pictures the user left as they were.

#include "Icons.h"
#include "Palette.h"
#include "Skin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace art;

const char* const kStateSuffix[3] = {"hover", "normal", "selected"};
const ButtonState kStates[3] = {ButtonState::Hover, ButtonState::Normal, ButtonState::Selected};
const int kTrayIds[7] = {167, 168, 169, 170, 175, 188, 189};
const int kListIds[6] = {177, 179, 181, 182, 183, 184};
// The sizes panels ask for: 16 to 64 pixels, 22 and 24 among them (status-notifier panels).
const int kTraySizes[6] = {16, 22, 24, 32, 48, 64};
// The hicolor theme's sizes that the 16-pixel grid fills with whole pixels.
const int kAppIconSizes[6] = {16, 32, 48, 64, 128, 256};

bool save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QString skinFile(int button, int state) {
    return QStringLiteral("skin/%1_%2.bmp")
        .arg(QLatin1String(kPageButtons[button].fileStem), QLatin1String(kStateSuffix[state]));
}

// Where a picture of the given scale goes: "icons/list_177.png" or "icons/list_177@2x.png",
// and a large skin rendition under skin2x/.
QString scaledFile(const QString& file, int scale) {
    if (scale == 1) {
        return file;
    }
    const int dot = static_cast<int>(file.lastIndexOf(QLatin1Char('.')));
    QString name = file.left(dot) + QStringLiteral("@%1x").arg(scale) + file.mid(dot);
    if (name.startsWith(QLatin1String("skin/"))) {
        name.replace(0, 4, QStringLiteral("skin%1x").arg(scale));
    }
    return name;
}

bool writeSkin(const QString& root, int scale) {
    const QImage face = makeFace(scale);
    const auto path = [&](const QString& file) { return root + QLatin1Char('/') + scaledFile(file, scale); };
    bool ok = save(face, path(QStringLiteral("skin/Main.bmp")));
    ok = save(makeCloseButton(face), path(QStringLiteral("skin/Close.bmp"))) && ok;
    for (int b = 0; b < 5; ++b) {
        for (int s = 0; s < 3; ++s) {
            ok = save(makePageButton(face, b, kStates[s]), path(skinFile(b, s))) && ok;
        }
    }
    return ok;
}

// The pictures of the pages' lists, check boxes and buttons at one scale.
bool writePagePictures(const QString& root, int scale) {
    const auto path = [&](const QString& file) { return root + QLatin1Char('/') + scaledFile(file, scale); };
    bool ok = true;
    for (int id : kListIds) {
        ok = save(makeListIcon(id, scale), path(QStringLiteral("icons/list_%1.png").arg(id))) && ok;
    }
    ok = save(makeCheckIcon(true, scale), path(QStringLiteral("icons/check_192.png"))) && ok;
    ok = save(makeCheckIcon(false, scale), path(QStringLiteral("icons/check_193.png"))) && ok;
    for (const ActionButtonSpec& spec : kActionButtons) {
        ok = save(makeActionButton(spec, scale),
                  path(QStringLiteral("buttons/%1.bmp").arg(QLatin1String(spec.name)))) &&
             ok;
        ok = save(makeActionButton(spec, scale, false),
                  path(QStringLiteral("buttons/blank/%1.bmp").arg(QLatin1String(spec.name)))) &&
             ok;
    }
    return ok;
}

bool writeIcons(const QString& root) {
    bool ok = true;
    for (int id : kTrayIds) {
        for (int size : kTraySizes) {
            ok = save(makeTrayIcon(id, size),
                      root + QStringLiteral("/icons/tray_%1_%2.png").arg(id).arg(size)) &&
                 ok;
        }
    }
    for (int size : kAppIconSizes) {
        ok = save(makeAppIcon(size), root + QStringLiteral("/icons/app/skyvane_%1.png").arg(size)) && ok;
    }
    QFile svg(root + QStringLiteral("/icons/app/skyvane.svg"));
    ok = svg.open(QIODevice::WriteOnly | QIODevice::Truncate) && svg.write(makeAppIconSvg().toUtf8()) > 0 &&
         ok;
    return ok;
}

void writeRect(QTextStream& out, const char* section, const QRect& r) {
    out << "\n[" << section << "]\n";
    out << "top=" << r.top() << "\nbottom=" << r.top() + r.height() << "\nright=" << r.left() + r.width()
        << "\nleft=" << r.left() << "\n";
}

bool writeSettingsFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    QTextStream out(&file);
    out << "[Setini]\nCountryDomain=99\nOnOff=0\nVer=1.0.0\nMain=skin/Main.bmp\nX1=skin/Close.bmp\n";
    const char* const keys[5] = {"Link_Info", "Config", "Advanced", "Sitesurvey", "About"};
    for (int b = 0; b < 5; ++b) {
        for (int s = 0; s < 3; ++s) {
            out << keys[b] << s + 1 << '=' << skinFile(b, s) << '\n';
        }
    }
    out << "AutoWPAWPA2=YES\n\n[Check]\n11b=1\n11g=1\n11gt=1\n11a=1\n11at=1\nXR=1\n";
    const char* const sections[5] = {"LINK_INFO", "CONFIG", "ADVANCED", "SITESURVEY", "ABOUT"};
    for (int b = 0; b < 5; ++b) {
        writeRect(out, sections[b], layout::pageButton(b));
    }
    writeRect(out, "X", layout::kClose);
    writeRect(out, "TAB_MAIN", layout::kPage);
    return true;
}

bool writeCatalogue(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    QTextStream out(&file);
    out << "; Texts shown by the Skyvane Configuration Utility.\n"
           "; Each key is the program's English text, the value the text to show instead,\n"
           "; for example:  Link Quality=Verbindungsqualitaet\n"
           "; A text without a key here is shown in English.\n"
           "[DATA]\n";
    return true;
}

// The face with its buttons in place and a few page controls, for looking at the whole.
QImage makePreview(int scale) {
    const QImage face = makeFace(scale);
    QImage preview = face.convertToFormat(QImage::Format_ARGB32);
    preview.setDevicePixelRatio(scale);
    QPainter p(&preview);
    auto place = [&](const QImage& bitmap, QPoint at) {
        QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32);
        keyed.setDevicePixelRatio(bitmap.devicePixelRatio());
        for (int y = 0; y < keyed.height(); ++y) {
            for (int x = 0; x < keyed.width(); ++x) {
                if ((keyed.pixel(x, y) & 0xffffff) == 0xff00ff) {
                    keyed.setPixel(x, y, 0);
                }
            }
        }
        p.drawImage(at, keyed);
    };
    for (int b = 0; b < 5; ++b) {
        const ButtonState state = b == 0   ? ButtonState::Selected
                                  : b == 3 ? ButtonState::Hover
                                           : ButtonState::Normal;
        place(makePageButton(face, b, state), layout::pageButton(b).topLeft());
    }
    place(makeCloseButton(face), layout::kClose.topLeft());
    const QPoint page = layout::kPage.topLeft();
    for (int i = 0; i < 10; ++i) {
        place(makeActionButton(kActionButtons[i], scale),
              page + QPoint(12 + (i % 5) * 82, 250 + (i / 5) * 32));
    }
    const int listIds[6] = {182, 181, 183, 184, 179, 177};
    for (int i = 0; i < 6; ++i) {
        place(makeListIcon(listIds[i], scale), page + QPoint(16 + 24 * i, 20));
    }
    place(makeCheckIcon(true, scale), page + QPoint(16, 50));
    place(makeCheckIcon(false, scale), page + QPoint(40, 50));
    int tx = 16;
    for (int id : kTrayIds) {
        place(makeTrayIcon(id, 16), page + QPoint(tx, 120));
        place(makeTrayIcon(id, 48), page + QPoint(tx, 145));
        tx += 56;
    }
    return preview;
}

// The small pictures enlarged eight times, pixel by pixel, for judging them.
QImage makeIconSheet() {
    const int zoom = 8;
    QImage sheet(7 * 16 * zoom + 8 * 8, 2 * 16 * zoom + 3 * 8, QImage::Format_RGB32);
    sheet.fill(QColor(200, 200, 200));
    QPainter p(&sheet);
    auto put = [&](const QImage& icon, int column, int row) {
        p.drawImage(QRect(8 + column * (16 * zoom + 8), 8 + row * (16 * zoom + 8), 16 * zoom, 16 * zoom),
                    icon);
    };
    for (int i = 0; i < 7; ++i) {
        put(makeTrayIcon(kTrayIds[i], 16), i, 0);
    }
    for (int i = 0; i < 6; ++i) {
        put(makeListIcon(kListIds[i]), i, 1);
    }
    put(makeCheckIcon(true), 6, 1);
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: skyvane_artgen <resources folder> [preview.png]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = writeIcons(root);
    for (int scale : {1, 2}) {
        ok = writeSkin(root, scale) && ok;
        ok = writePagePictures(root, scale) && ok;
    }
    ok = writeSettingsFile(root + QStringLiteral("/run/a.cba")) && ok;
    ok = writeCatalogue(root + QStringLiteral("/run/define.ini")) && ok;
    if (argc > 2) {
        const QString preview = QString::fromLocal8Bit(argv[2]);
        ok = save(makePreview(1), preview) && ok;
        ok = save(makePreview(2), scaledFile(preview, 2)) && ok;
        ok = save(makeIconSheet(),
                  QFileInfo(preview).path() + QStringLiteral("/icons-") + QFileInfo(preview).fileName()) &&
             ok;
    }
    return ok ? 0 : 1;
}
