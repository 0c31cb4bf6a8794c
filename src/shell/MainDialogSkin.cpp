// The main window's skin (bitmaps named in the settings file) and layout (rectangles in the
// settings file), and the hidden layout editor's moves.
#include "controls/SkinButton.h"
#include "controls/SkinPicture.h"
#include "controls/UiServices.h"
#include "platform/FileSystem.h"
#include "resources/Artwork.h"
#include "shell/ImageFile.h"
#include "shell/LayoutEditor.h"
#include "shell/MainDialog.h"
#include "shell/SkinGeometry.h"
#include "storage/AppSettings.h"

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
    LayoutTarget target;
};

// Sections in the order they are read and written, with the control each places: the page
// buttons in the page table's order, then the close button and the page frame.
std::array<LayoutSection, pageCount + 2> layoutSections() {
    std::array<LayoutSection, pageCount + 2> sections{};
    for (const PageDescriptor& descriptor : pageTable()) {
        const auto index = static_cast<std::size_t>(descriptor.id);
        sections[index] = {descriptor.layoutSection, pageButtonTarget(descriptor.id)};
    }
    sections[pageCount] = {"X", LayoutTarget::CloseButton};
    sections[pageCount + 1] = {"TAB_MAIN", LayoutTarget::PageFrame};
    return sections;
}

// The part of the screen a window may use; empty when no screen is known (which bounds nothing).
QRect availableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

skin::Size sizeOf(const QRect& area) {
    return {area.width(), area.height()};
}

QRect toQRect(const skin::Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

SkinPicture MainDialog::deliveredPicture(const std::string& key, bool withTwice) {
    // readImageFile keeps the built-in pictures of a button's size; the large renditions are
    // read only where a dense screen asks for them: the face's costs a start several milliseconds.
    const QString path = artwork::builtinSkinPath(key.c_str());
    return SkinPicture(readImageFile(path), withTwice ? readImageFile(twiceSizeName(path)) : QImage());
}

bool MainDialog::wantsLargeRenditions() const {
    return devicePixelRatioF() > 1;
}

QImage MainDialog::loadSkinImage(const std::string& key) const {
    const std::string path = m_services.settings.skinPath(key);
    return path.empty() ? QImage() : readImageFile(QString::fromStdString(path));
}

SkinPicture MainDialog::loadSkinPicture(const std::string& key) const {
    const std::string path = m_services.settings.skinPath(key);
    if (path.empty()) {
        return {};
    }
    const QString file = QString::fromStdString(path);
    const QImage picture = readImageFile(file);
    if (picture.isNull() || !wantsLargeRenditions()) {
        // On a screen of ratio 1 the large renditions are not read at all. A window that moves
        // to a denser screen shows its pictures enlarged by whole pixels until they are read
        // again (the page buttons' at the next page switch).
        return SkinPicture(picture);
    }
    // A skin may bring its own large renditions, beside its pictures.
    const SkinPicture own(picture, readImageFile(twiceSizeName(file)));
    if (own.hasTwice()) {
        return own;
    }
    // The delivered pictures' large renditions are built into the program rather than copied
    // into the user's folder: a picture the user has changed must not give way to the
    // delivered one on a denser screen, so the built-in rendition goes only with a picture that
    // is still the delivered one, pixel for pixel. Any other picture is enlarged by whole pixels.
    const SkinPicture delivered = deliveredPicture(key, true);
    if (delivered.hasTwice() && samePixels(picture, delivered.picture())) {
        return delivered;
    }
    return own;
}

SkinButton* MainDialog::skinTarget(LayoutTarget target) const {
    if (const std::optional<PageId> page = pageOfButton(target)) {
        return m_pageButtons[static_cast<size_t>(*page)];
    }
    return target == LayoutTarget::CloseButton ? m_closeButton : nullptr;
}

QWidget* MainDialog::layoutTarget(LayoutTarget target) const {
    if (target == LayoutTarget::PageFrame) {
        return m_pageFrame;
    }
    return skinTarget(target);
}

void MainDialog::ApplySkinImage(LayoutTarget target, const char* key) {
    SkinPicture image = loadSkinPicture(key);
    if (target == LayoutTarget::Background) {
        // A face that can't be read, or gives a window larger than the screen, gives way to the
        // face the program was delivered with.
        if (image.isNull() ||
            !skin::windowForFace({image.size().width(), image.size().height()}, sizeOf(availableArea()))) {
            image = deliveredPicture(key, wantsLargeRenditions());
        }
        applyBackground(image);
        return;
    }
    SkinButton* button = skinTarget(target);
    if (button == nullptr) {
        return;
    }
    if (image.isNull()) {
        if (target == LayoutTarget::CloseButton && button->currentImage().isNull()) {
            // Until the skin names its own, the close button wears the delivered picture.
            button->setSingleImage(deliveredPicture(key, wantsLargeRenditions()));
        }
        return;
    }
    if (pageOfButton(target)) {
        // A page button's selected picture: its frame stays as it was, so that its look in each
        // state does not depend on which pages were shown before.
        button->setImagePair(image, image);
    } else {
        button->setSingleImage(image);
    }
}

void MainDialog::ApplySkinPair(LayoutTarget target, const char* hoverKey, const char* normalKey) {
    SkinButton* button = skinTarget(target);
    const SkinPicture hover = loadSkinPicture(hoverKey);
    const SkinPicture normal = loadSkinPicture(normalKey);
    if (button == nullptr) {
        return;
    }
    if (!hover.isNull() && !normal.isNull()) {
        button->setImagePair(hover, normal);
    } else if (button->currentImage().isNull()) {
        // Until the skin names its own, a page button wears the delivered pictures, where the
        // layout put it (the pictures are put on only now, once the skin is known to lack them).
        const QRect placed = button->geometry();
        button->setImagePair(deliveredPicture(hoverKey, wantsLargeRenditions()),
                             deliveredPicture(normalKey, wantsLargeRenditions()));
        button->setGeometry(placed);
    }
}

void MainDialog::applyBackground(const SkinPicture& face) {
    repaint();
    hide();
    m_background = face;
    const QRect area = availableArea();
    if (!face.isNull()) {
        const skin::Size faceSize{face.size().width(), face.size().height()};
        const skin::Size window =
            skin::windowForFace(faceSize, sizeOf(area))
                .value_or(
                    skin::fitOnScreen({faceSize.width, faceSize.height + skin::kFaceBorder}, sizeOf(area)));
        setGeometry(0, 0, window.width, window.height);
        setFixedSize(window.width, window.height);
        // Every control stays inside the window, whatever the layout said.
        for (const LayoutSection& placed : layoutSections()) {
            QWidget* control = layoutTarget(placed.target);
            const QRect r = control->geometry();
            control->setGeometry(toQRect(
                skin::controlRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, window)));
        }
    }
    if (!area.isEmpty()) {
        const skin::Point corner =
            skin::centredIn({width(), height()}, {area.x(), area.y(), area.width(), area.height()});
        move(corner.x, corner.y);
    }
    show(); // stays hidden while windowShown is 0
}

void MainDialog::LoadLayout() {
    // Inside the window once it has its face; before that (at start) inside the screen, and the
    // face then brings every control inside the window.
    const skin::Size bounds = m_background.isNull() ? sizeOf(availableArea()) : skin::Size{width(), height()};
    for (const auto& [section, target] : layoutSections()) {
        const auto rect = m_services.settings.readLayout(section);
        QWidget* control = layoutTarget(target);
        control->setGeometry(
            toQRect(skin::controlRect({rect.left, rect.top, rect.right, rect.bottom}, bounds)));
        control->update();
    }
}

void MainDialog::SaveLayout() {
    std::vector<std::pair<std::string, AppSettings::LayoutRect>> layouts;
    for (const auto& [section, target] : layoutSections()) {
        const QRect r = layoutTarget(target)->geometry();
        layouts.push_back({section, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}});
    }
    if (const platform::WriteResult written = m_services.settings.writeLayouts(layouts); !written) {
        m_services.ui.message(
            this,
            QStringLiteral("The layout could not be saved: %1").arg(QString::fromStdString(written.reason())),
            QString::fromLatin1(title), UiServices::MessageIcon::Warning);
    }
}
