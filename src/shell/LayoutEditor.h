#pragma once

#include "shell/PageTable.h"

#include <QWidget>

#include <optional>

class MainDialog;
class QGridLayout;
class QLineEdit;
class QPushButton;

// The designer's hidden editor on the main window: nudges the page buttons, the close button
// and the page frame pixel by pixel, tries bitmaps on them and saves the rectangles back to the
// settings file. Shown only when the settings file asks for it; its text fields are made when it
// is first shown.
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
    // The target the selector field names; nullopt before the fields exist or for text other
    // than the numbers 1 to 7.
    std::optional<LayoutTarget> selectedTarget() const;
    void createFields();
    QPushButton* addButton(const char* text, const char* name);
    QLineEdit* addEdit(const char* name);

    MainDialog& m_window;
    QGridLayout* m_grid;
    QLineEdit* m_targetEdit = nullptr;
    QLineEdit* m_keyEdit = nullptr;
    QLineEdit* m_leftEdit = nullptr;
    QLineEdit* m_rightEdit = nullptr;
    QLineEdit* m_topEdit = nullptr;
    QLineEdit* m_bottomEdit = nullptr;
};
