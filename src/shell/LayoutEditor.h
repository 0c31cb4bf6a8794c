#pragma once

#include <QWidget>

class MainDialog;
class QLineEdit;
class QPushButton;

// The designer's hidden editor on the main window: nudges the page buttons, the close button
// and the page frame pixel by pixel, tries bitmaps on them and saves the rectangles back to the
// settings file. Shown only when the settings file asks for it.
class LayoutEditor : public QWidget {
    Q_OBJECT
public:
    explicit LayoutEditor(MainDialog& window);

    void setEditorVisible(bool visible);

    // Moves the selected target by one pixel; a selector other than 1..7 moves nothing.
    void moveTarget(int dx, int dy);
    void tryBitmap();         // the "button" button
    void reapplyBackground(); // the "dialog" button

private:
    QPushButton* addButton(const char* text, const char* name);
    QLineEdit* addEdit(const char* name);

    MainDialog& m_window;
    QLineEdit* m_targetEdit;
    QLineEdit* m_keyEdit;
    QLineEdit* m_leftEdit;
    QLineEdit* m_rightEdit;
    QLineEdit* m_topEdit;
    QLineEdit* m_bottomEdit;
};
