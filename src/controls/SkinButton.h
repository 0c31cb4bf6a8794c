#pragma once
// A button that shows pictures instead of text: one while the mouse is over it or it is held
// down, another otherwise; or one picture always; or, as a check box, one per check state.
// Magenta (255, 0, 255) in a picture is transparent, and the button draws over its parent's
// background. It takes the size of its picture and shows the hand cursor. A picture may come
// with a rendition at twice its size, which screens of device pixel ratio 2 show (SkinPicture).

#include "controls/SkinPicture.h"

#include <QAbstractButton>
#include <QImage>

#include <utility>

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    // What the button draws around its picture. The frame depends on the button's state alone
    // (at rest, hovered, pressed), never on whether it is checked: a checked page button shows
    // its own picture instead.
    enum class Frame {
        None,       // the picture alone, in every state
        PushButton, // raised 3D edge; a one-pixel shadow-colour frame while pressed
        Flat,       // nothing at rest, raised while hovered, sunken while pressed
        Highlight,  // no frame: the picture lighter while hovered, darker while pressed
    };

    explicit SkinButton(QWidget* parent = nullptr);

    // Returns false and keeps the current pictures when either picture is null.
    bool setImagePair(const SkinPicture& hover, const SkinPicture& normal);
    // One picture in every state; also switches the button to flat drawing.
    bool setSingleImage(const SkinPicture& image);
    // Check-box mode: the button becomes checkable and shows the picture of its state.
    bool setCheckImages(const SkinPicture& checked, const SkinPicture& unchecked);

    // A page button of a window: screen readers meet it as a page tab, selected while checked
    // (the page it opens is the one shown), rather than as a check box.
    void setPageTab(bool pageTab) { m_pageTab = pageTab; }
    bool isPageTab() const { return m_pageTab; }

    void setFrame(Frame frame);
    Frame frame() const { return m_frame; }
    bool isHovered() const { return m_hovered; }

    // The picture shown in the present state (magenta already transparent), and that picture
    // with its large rendition.
    QImage currentImage() const;
    const SkinPicture& currentPicture() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void takeSize(const SkinPicture& picture);
    void paintFrame(QPainter& p) const;

    SkinPicture m_hover;
    SkinPicture m_normal;
    // cacheKey() of both renditions of the pictures m_hover and m_normal were made from
    std::pair<qint64, qint64> m_hoverSource{0, 0};
    std::pair<qint64, qint64> m_normalSource{0, 0};
    SkinPicture m_checked;
    SkinPicture m_unchecked;
    bool m_checkMode = false;
    bool m_hovered = false;
    bool m_pageTab = false;
    Frame m_frame = Frame::None;
};
