#include "controls/GradientBar.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

int largestDifference(const QColor& a, const QColor& b) {
    return std::max(
        {std::abs(b.red() - a.red()), std::abs(b.green() - a.green()), std::abs(b.blue() - a.blue())});
}

QColor stepColor(const QColor& from, const QColor& to, int i, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * i / steps; };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

// Appends the fade of one segment [left, right), cut at the filled width.
void fadeSegment(std::vector<GradientStep>& out, int left, int right, int filled, const QColor& from,
                 const QColor& to) {
    const int width = right - left;
    const int steps = std::clamp(largestDifference(from, to), 1, std::max(width, 1));
    for (int i = 0; i < steps; ++i) {
        const int stepLeft = left + i * width / steps;
        const int stepRight = i + 1 == steps ? right : left + (i + 1) * width / steps;
        if (stepLeft >= filled) {
            break;
        }
        if (stepRight > stepLeft) {
            out.push_back({stepLeft, std::min(stepRight, filled), stepColor(from, to, i, steps)});
        }
    }
}

} // namespace

std::vector<GradientStep> gradientSteps(int width, int low, int high, int position,
                                        const std::vector<QColor>& colors) {
    std::vector<GradientStep> out;
    if (width <= 0 || high <= low || position < low || position > high || colors.empty()) {
        return out;
    }
    const int filled = int(static_cast<long long>(width) * (position - low) / (high - low));
    if (colors.size() == 1) {
        if (filled > 0) {
            out.push_back({0, filled, colors.front()});
        }
        return out;
    }
    const int segments = int(colors.size()) - 1;
    for (int k = 0; k < segments; ++k) {
        const int left = int(static_cast<long long>(width) * k / segments);
        const int right = k + 1 == segments ? width : int(static_cast<long long>(width) * (k + 1) / segments);
        if (left >= filled) {
            break;
        }
        fadeSegment(out, left, right, filled, colors[size_t(k)], colors[size_t(k) + 1]);
        if (right >= filled) {
            break;
        }
    }
    return out;
}

GradientBar::GradientBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientBar::setColors(const std::vector<QColor>& colors) {
    m_colors = colors;
    m_fade = QImage();
    update();
}

// The bar at any value is the full fade cut at the filled width: the steps' places and colours
// don't depend on the value. The full fade is drawn once per size and colours, and each paint
// (once a second, as the signal wanders) copies the filled part of it.
const QImage& GradientBar::fullFade() const {
    const QColor ground = palette().color(QPalette::Button); // of the colour group in force
    if (m_fade.size() != size() || m_fadeGround != ground) {
        m_fadeGround = ground;
        m_fade = QImage(size(), QImage::Format_RGB32);
        m_fade.fill(ground);
        QPainter p(&m_fade);
        for (const GradientStep& s : gradientSteps(width(), 0, 1, 1, m_colors)) {
            p.fillRect(QRect(s.left, 0, s.right - s.left, height()), s.color);
        }
    }
    return m_fade;
}

void GradientBar::paintBar(QPainter& p) const {
    const std::vector<GradientStep> steps = gradientSteps(width(), minimum(), maximum(), value(), m_colors);
    const int filled = steps.empty() ? 0 : steps.back().right;
    p.drawImage(QPoint(0, 0), fullFade(), QRect(0, 0, filled, height()));
    p.fillRect(QRect(filled, 0, width() - filled, height()), palette().color(QPalette::Button));
}

QImage GradientBar::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    paintBar(p);
    return image;
}

void GradientBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintBar(p);
}
