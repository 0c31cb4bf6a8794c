#include "controls/StripChart.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

int logarithmicBarHeight(int value, int maximum, int height) {
    if (value <= 0 || maximum <= 0 || height <= 0) {
        return 0;
    }
    if (value >= maximum) {
        return height;
    }
    // The grid lines' rows, counted from the bottom, as drawGrid() places them; their values.
    const int rows[5] = {0, height - 3 * height / 4, height - height / 2, height - height / 4, height};
    const double top = maximum;
    const double values[5] = {0, top / 1000, top / 100, top / 10, top};
    if (value <= values[1]) {
        return static_cast<int>(rows[1] * (value / values[1]));
    }
    int decade = 1;
    while (value > values[decade + 1]) {
        ++decade;
    }
    if (value == values[decade + 1]) {
        return rows[decade + 1];
    }
    const double share = std::log10(value / values[decade]);
    return rows[decade] + static_cast<int>(share * (rows[decade + 1] - rows[decade]));
}

StripChart::StripChart(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void StripChart::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    if (!m_rangeSet) {
        m_rangeSet = true;
        startPicture();
        update();
    }
}

int StripChart::push(int value) {
    const int previous = m_current;
    const auto raw = static_cast<std::uint32_t>(value);
    if (raw > static_cast<std::uint32_t>(m_maximum)) {
        m_current = m_maximum;
    } else if (raw < static_cast<std::uint32_t>(m_minimum)) {
        m_current = m_minimum;
    } else {
        m_current = value;
    }
    if (m_rangeSet && !m_picture.isNull()) {
        // Drawn when the picture is next looked at: a chart on a hidden page (the program in the
        // notification area) scrolls nothing while nobody sees it. Only the columns that would
        // still be in the picture are kept.
        m_pending.push_back(barHeight(m_current, m_picture.height()));
        const std::size_t visibleColumns = static_cast<std::size_t>(m_picture.width() / kColumnWidth) + 2;
        if (m_pending.size() > visibleColumns) {
            m_pending.pop_front();
        }
        update();
    }
    return previous;
}

const QImage& StripChart::picture() const {
    while (!m_pending.empty()) {
        drawColumn(m_pending.front());
        m_pending.pop_front();
    }
    return m_picture;
}

void StripChart::startPicture() {
    m_pending.clear(); // they belonged to the picture that is replaced
    const QSize area = contentsRect().size();
    if (area.isEmpty()) {
        m_picture = QImage();
        return;
    }
    m_picture = QImage(area, QImage::Format_RGB32);
    m_picture.fill(kGround);
    QPainter p(&m_picture);
    drawGrid(p, 0, area.width());
}

void StripChart::drawGrid(QPainter& p, int left, int width) const {
    const int h = m_picture.height();
    for (int y : {h / 4, h / 2, 3 * h / 4}) {
        p.fillRect(left, y, width, 1, kGrid);
    }
}

void StripChart::drawColumn(int filled) const {
    // Scrolls the rows left in place and writes the new column's pixels directly: a new
    // picture and a painter for every column cost more than the rest of a page refresh.
    const int w = m_picture.width();
    const int h = m_picture.height();
    const int keep = std::max(w - kColumnWidth, 0);
    const int barLeft = std::clamp(w - kColumnWidth, 0, w);
    const int barRight = std::clamp(w - kColumnWidth + 2, 0, w);
    const QRgb ground = kGround.rgb();
    const QRgb grid = kGrid.rgb();
    const QRgb bar = kBar.rgb();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
        std::memmove(row, row + (w - keep), static_cast<size_t>(keep) * sizeof(QRgb));
        const bool gridRow = y == h / 4 || y == h / 2 || y == 3 * h / 4;
        std::fill(row + keep, row + w, gridRow ? grid : ground);
        if (y >= h - filled) {
            std::fill(row + barLeft, row + barRight, bar);
        }
    }
}

int StripChart::barHeight(int value, int height) const {
    if (m_scale == Scale::Logarithmic) {
        return logarithmicBarHeight(value, m_maximum, height);
    }
    const long long span = static_cast<long long>(m_maximum) - m_minimum;
    return span > 0 ? int(height * (static_cast<long long>(value) - m_minimum) / span) : 0;
}

void StripChart::paintEvent(QPaintEvent* event) {
    if (!picture().isNull()) {
        QPainter(this).drawImage(contentsRect().topLeft(), m_picture);
    }
    QFrame::paintEvent(event);
}

void StripChart::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // A hidden widget gets its resize event only when first shown; the history drawn until
    // then is kept when the size did not change.
    if (m_rangeSet && contentsRect().size() != m_picture.size()) {
        startPicture();
    }
}
