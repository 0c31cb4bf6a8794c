#pragma once
// A group box drawn as a one-pixel frame of a chosen colour with its title on white.

#include <QColor>
#include <QGroupBox>

class ColorGroupBox : public QGroupBox {
    Q_OBJECT
public:
    static inline const QColor kBlue{0, 0, 255};
    static inline const QColor kGrey{172, 168, 153};

    explicit ColorGroupBox(QWidget* parent = nullptr);
    explicit ColorGroupBox(const QString& title, QWidget* parent = nullptr);

    void setFrameColor(const QColor& color);
    QColor frameColor() const { return m_frameColor; }

    // Where the frame line runs and where the title sits, in widget pixels.
    QRect frameRect() const;
    QRect titleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_frameColor = kBlue;
};
