#pragma once
// A group box drawn as a one-pixel frame of a chosen colour with its title on white.

#include <QColor>
#include <QFont>
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
    // The title's width for the title and font it was measured with: the box repaints under
    // its busy children every second, and measuring the text is most of the cost.
    mutable QString m_measuredTitle;
    mutable QFont m_measuredFont;
    mutable int m_titleWidth = 0;
};
