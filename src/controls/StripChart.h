#pragma once
// A scrolling history chart: each pushed value adds a 4-pixel column at the right edge with a
// bright green bar of the value's height over a black ground with three dark green grid lines.

#include <QFrame>
#include <QImage>

#include <cstdint>

class StripChart : public QFrame {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 4;
    static inline const QColor kGround{0, 0, 0};
    static inline const QColor kGrid{0, 128, 0};
    static inline const QColor kBar{0, 255, 0};

    explicit StripChart(QWidget* parent = nullptr);

    // Stores the bounds; the first call also starts the picture (later calls keep it).
    void setRange(int minimum, int maximum);
    // Records the value clamped to the range and draws one column; returns the previous value.
    // Values compare as unsigned 32-bit numbers, so a negative one counts as above the maximum.
    int push(int value);

    int currentValue() const { return m_current; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // The off-screen picture of the client area; null until the range is first set.
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void startPicture();
    void drawColumn(int value);
    void drawGrid(QPainter& p, int left, int width) const;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_current = 0;
    bool m_rangeSet = false;
    QImage m_picture;
};
