#pragma once

#include <QFont>
#include <QWidget>

class ColorGroupBox;
struct AppContext;
class QLabel;
class QLineEdit;

// A page of the main window: a white child window of the page frame, 432 x 327 pixels (its
// template laid out at 96 dpi). It works with the application context: the stores, the text
// catalogue, the user interaction, and the window's state.
class Page : public QWidget {
    Q_OBJECT
public:
    static constexpr int width = 432;
    static constexpr int height = 327;

    Page(AppContext& context, QWidget* parent, const char* objectName);

    // What showing the page does, around the moment it becomes visible: the main window calls
    // aboutToShow(), shows the page and marks its button, then calls shown().
    virtual void aboutToShow() {}
    virtual void shown() {}

    // The Configuration page completes an Apply the Encryption page began; others do nothing.
    virtual void completeApply() {}

protected:
    // A read-only value field with blue text, as every page shows its values; the caption, when
    // given, is the field's label for screen readers as well.
    QLineEdit* addValueField(const char* objectName, const QRect& geometry,
                             Qt::Alignment alignment = Qt::AlignLeft, QLabel* caption = nullptr);
    // A caption on white.
    QLabel* addCaption(const QString& text, const char* objectName, const QRect& geometry);
    // A group box with the blue frame on white; it sits below the controls laid over it.
    ColorGroupBox* addGroup(const QString& title, const char* objectName, const QRect& geometry);

    void keyPressEvent(QKeyEvent* event) override; // Enter and Esc do nothing on a page

    AppContext& m_context;
};
