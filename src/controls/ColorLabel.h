#pragma once
// A text label with its own text colour and an optional bold face (weight 700).

#include <QColor>
#include <QLabel>

class ColorLabel : public QLabel {
    Q_OBJECT
public:
    explicit ColorLabel(QWidget* parent = nullptr);
    explicit ColorLabel(const QString& text, QWidget* parent = nullptr);

    void setTextColor(const QColor& color);
    QColor textColor() const;
    void setBold(bool bold);
    bool isBold() const;
};
