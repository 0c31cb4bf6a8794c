#pragma once
// A progress bar filled with a colour gradient anchored to the whole bar: a low value shows
// only the start of the run, the full range shows all of it. No text is drawn.

#include <QColor>
#include <QImage>
#include <QProgressBar>

#include <vector>

class QPainter;

// One flat-coloured vertical strip of the bar, covering columns [left, right).
struct GradientStep {
    int left;
    int right;
    QColor color;
    bool operator==(const GradientStep&) const = default;
};

// The strips that paint a bar of the given width. The width is split into colours.size() - 1
// equal segments; each segment that reaches the filled part fades from its colour to the next
// in as many steps as the largest component difference (at most the segment width, at least
// one), and only what lies left of the filled width is returned. A position outside the range,
// an empty range or no colours give no strips; a single colour fills the filled width.
std::vector<GradientStep> gradientSteps(int width, int low, int high, int position,
                                        const std::vector<QColor>& colors);

class GradientBar : public QProgressBar {
    Q_OBJECT
public:
    explicit GradientBar(QWidget* parent = nullptr);

    void setColors(const std::vector<QColor>& colors);
    const std::vector<QColor>& colors() const { return m_colors; }
    // Range, position and step go through the ordinary progress-bar operations.
    void setStep(int step) { m_step = step; }
    int step() const { return m_step; }

    // The bar as it is painted, at its current size.
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBar(QPainter& p) const;
    const QImage& fullFade() const;

    std::vector<QColor> m_colors;
    int m_step = 1;
    mutable QImage m_fade; // the whole run at the bar's size, on m_fadeGround
    mutable QColor m_fadeGround;
};
