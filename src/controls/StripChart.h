#pragma once
// A scrolling history chart: each pushed value adds a 4-pixel column at the right edge with a
// bright green bar of the value's height over a black ground with three dark green grid lines.
//
// On the linear scale the bar's height is the value's share of the range. On the logarithmic
// scale each grid line is a factor of ten: from the bottom up the lines stand for maximum/1000,
// maximum/100 and maximum/10, the top for the maximum and more; below the lowest line, where a
// logarithm would never reach 0, the scale is linear from 0. A throughput chart with maximum
// 10000 reads 0, 10, 100, 1000, 10000 from the bottom up.

#include <QFrame>
#include <QImage>

#include <cstdint>
#include <deque>

// The bar's height in pixels for value on the logarithmic scale of a chart height pixels high
// whose top stands for maximum; each boundary lands exactly on its grid line's row.
int logarithmicBarHeight(int value, int maximum, int height);

class StripChart : public QFrame {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 4;
    static inline const QColor kGround{0, 0, 0};
    static inline const QColor kGrid{0, 128, 0};
    static inline const QColor kBar{0, 255, 0};

    enum class Scale { Linear, Logarithmic };

    explicit StripChart(QWidget* parent = nullptr);

    // Linear unless set; the columns drawn so far stay as they were drawn.
    void setScale(Scale scale) { m_scale = scale; }
    Scale scale() const { return m_scale; }

    // Stores the bounds; the first call also starts the picture (later calls keep it).
    void setRange(int minimum, int maximum);
    // Records the value clamped to the range and adds its column; returns the previous value.
    // Values compare as unsigned 32-bit numbers, so a negative one counts as above the maximum.
    int push(int value);

    int currentValue() const { return m_current; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // The off-screen picture of the client area, every value pushed so far drawn; null until the
    // range is first set.
    const QImage& picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void startPicture();
    void drawColumn(int barHeight) const;
    void drawGrid(QPainter& p, int left, int width) const;
    int barHeight(int value, int height) const;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_current = 0;
    bool m_rangeSet = false;
    Scale m_scale = Scale::Linear;
    // The picture, and the bar heights of the columns pushed since it was last drawn on.
    mutable QImage m_picture;
    mutable std::deque<int> m_pending;
};
