// The main window's skin (bitmaps named in the settings file) and layout (rectangles in the
// settings file), and the hidden layout editor's moves.
#include "AppSettings.h"
#include "Artwork.h"
#include "FileSystem.h"
#include "ImageFile.h"
#include "LayoutEditor.h"
#include "MainDialog.h"
#include "SkinButton.h"
#include "UiServices.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace {

struct LayoutSection {
    const char* section;
    int target;
};

// Sections in the order they are read and written, with the control each places: the page
// buttons in the page table's order, then the close button and the page frame.
std::array<LayoutSection, pageCount + 2> layoutSections() {
    std::array<LayoutSection, pageCount + 2> sections{};
    for (const PageDescriptor& descriptor : pageTable()) {
        const auto index = static_cast<std::size_t>(descriptor.id);
        sections[index] = {descriptor.layoutSection, static_cast<int>(index) + 1};
    }
    sections[pageCount] = {"X", 6};
    sections[pageCount + 1] = {"TAB_MAIN", 7};
    return sections;
}

// A span between two coordinates of the settings file, which a hand edit can make as large as
// an int holds: computed wide and clamped, never overflowing.
int span(int from, int to) {
    const int64_t wide = static_cast<int64_t>(to) - from;
    return static_cast<int>(std::clamp<int64_t>(wide, 0, std::numeric_limits<int>::max()));
}

} // namespace

QImage MainDialog::loadSkinImage(const std::string& key) const {
    std::string path = m_services.settings.setiniText(key);
    if (path.empty()) {
        return {};
    }
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return readImageFile(QString::fromStdString(path));
}

SkinButton* MainDialog::skinTarget(int target) const {
    if (target >= 1 && target <= static_cast<int>(pageCount)) {
        return m_pageButtons[static_cast<size_t>(target - 1)];
    }
    return target == 6 ? m_closeButton : nullptr;
}

QWidget* MainDialog::layoutTarget(int target) const {
    if (target == 7) {
        return m_pageFrame;
    }
    return skinTarget(target);
}

void MainDialog::ApplySkinImage(int target, const char* key) {
    QImage image = loadSkinImage(key);
    if (target == 0) {
        if (image.isNull()) {
            image = readImageFile(artwork::builtinSkinPath(key)); // the face the program was delivered with
        }
        applyBackground(QPixmap::fromImage(image));
        return;
    }
    SkinButton* button = skinTarget(target);
    if (button != nullptr && !image.isNull()) {
        button->setSingleImage(image);
    }
}

void MainDialog::ApplySkinPair(int target, const char* hoverKey, const char* normalKey) {
    SkinButton* button = skinTarget(target);
    const QImage hover = loadSkinImage(hoverKey);
    const QImage normal = loadSkinImage(normalKey);
    if (button != nullptr && !hover.isNull() && !normal.isNull()) {
        button->setImagePair(hover, normal);
    }
}

void MainDialog::applyBackground(const QPixmap& face) {
    repaint();
    hide();
    m_background = face;
    if (!face.isNull()) {
        setGeometry(0, 0, face.width(), face.height() + 2);
        setFixedSize(face.width(), face.height() + 2);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show(); // stays hidden while windowShown is 0
}

void MainDialog::LoadLayout() {
    for (const auto& [section, target] : layoutSections()) {
        const auto rect = m_services.settings.readLayout(section);
        QWidget* control = layoutTarget(target);
        control->setGeometry(rect.left, rect.top, span(rect.left, rect.right), span(rect.top, rect.bottom));
        control->update();
    }
}

void MainDialog::SaveLayout() {
    std::vector<std::pair<std::string, AppSettings::LayoutRect>> layouts;
    for (const auto& [section, target] : layoutSections()) {
        const QRect r = layoutTarget(target)->geometry();
        layouts.push_back({section, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}});
    }
    if (!m_services.settings.writeLayouts(layouts)) {
        m_services.ui.message(this,
                              QStringLiteral("The layout could not be saved: %1")
                                  .arg(QString::fromStdString(platform::lastWriteFailure())),
                              QString::fromLatin1(title), UiServices::MessageIcon::Warning);
    }
}
