#pragma once

#include <QCheckBox>
#include <QIcon>

// A check box drawn with the program's own check-box pictures (greyed while it is disabled) and
// its text beside them on the parent's background. Screen readers meet an ordinary check box.
class IconCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit IconCheckBox(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QRect textRect() const;

    QIcon m_checked;
    QIcon m_unchecked;
};
