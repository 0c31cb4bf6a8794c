#pragma once
// A button that shows pictures instead of text: one while the mouse is over it or it is held
// down, another otherwise; or one picture always; or, as a check box, one per check state.
// Magenta (255, 0, 255) in a picture is transparent, and the button draws over its parent's
// background. It takes the size of its picture and shows the hand cursor.

#include <QAbstractButton>
#include <QImage>

// The picture with every magenta pixel made fully transparent.
QImage withMagentaTransparent(const QImage& image);

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Frame {
        None,       // the picture alone
        PushButton, // raised 3D edge; a one-pixel shadow-colour frame while pressed
        Flat,       // nothing at rest, raised while hovered, sunken while pressed
    };

    explicit SkinButton(QWidget* parent = nullptr);

    // Returns false and keeps the current pictures when either picture is null.
    bool setImagePair(const QImage& hover, const QImage& normal);
    // One picture in every state; also switches the button to flat drawing.
    bool setSingleImage(const QImage& image);
    // Check-box mode: the button becomes checkable and shows the picture of its state.
    bool setCheckImages(const QImage& checked, const QImage& unchecked);

    // A page button of a window: screen readers meet it as a page tab, selected while checked
    // (the page it opens is the one shown), rather than as a check box.
    void setPageTab(bool pageTab) { m_pageTab = pageTab; }
    bool isPageTab() const { return m_pageTab; }

    void setFrame(Frame frame);
    Frame frame() const { return m_frame; }
    bool isHovered() const { return m_hovered; }

    // The picture shown in the present state (magenta already transparent).
    QImage currentImage() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void takeSize(const QImage& image);
    void paintFrame(QPainter& p) const;

    QImage m_hover;
    QImage m_normal;
    qint64 m_hoverSource = 0; // cacheKey() of the pictures m_hover and m_normal were made from
    qint64 m_normalSource = 0;
    QImage m_checked;
    QImage m_unchecked;
    bool m_checkMode = false;
    bool m_hovered = false;
    bool m_pageTab = false;
    Frame m_frame = Frame::None;
};
