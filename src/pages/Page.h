#pragma once

#include <QFont>
#include <QWidget>

class ColorGroupBox;
class MainWindowHost;
class QLabel;
class QLineEdit;

// The dialog typeface: Tahoma where it is installed, DejaVu Sans otherwise, at the given size.
QFont dialogFont(qreal pointSize = 8);

// A page of the main window: a white child window of the page frame, 432 x 327 pixels
// (its template laid out at 96 dpi), that reaches the window's state through the host.
class Page : public QWidget {
    Q_OBJECT
public:
    static constexpr int width = 432;
    static constexpr int height = 327;

    Page(MainWindowHost& host, QWidget* parent, const char* objectName);

protected:
    // A read-only value field with blue text, as every page shows its values.
    QLineEdit* addValueField(const char* objectName, const QRect& geometry,
                             Qt::Alignment alignment = Qt::AlignLeft);
    // A caption on white.
    QLabel* addCaption(const QString& text, const char* objectName, const QRect& geometry);
    // A group box with the blue frame on white; it sits below the controls laid over it.
    ColorGroupBox* addGroup(const QString& title, const char* objectName, const QRect& geometry);

    void keyPressEvent(QKeyEvent* event) override; // Enter and Esc do nothing on a page

    MainWindowHost& m_host;
};
