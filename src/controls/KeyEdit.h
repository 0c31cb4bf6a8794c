#pragma once
// The entry field of a WEP key: hex-only flag, text limit and "*" mask, with the typing rule of
// the key rules (KeyEditInput): a hex-only field takes only hex digits and backspace, and the
// first keystroke into a masked field empties it and removes the mask, so a stored key is never
// revealed. Pasting (keys, context menu, middle button, input methods) follows the same rule;
// drops are refused.
//
// The field holds a single-byte text: keyText() and setKeyText() are what the screens store.

#include <QLineEdit>

#include <string>

class QMenu;
class UiServices;

class KeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyEdit(QWidget* parent = nullptr);

    void setHexOnly(bool on) { m_hexOnly = on; }
    bool hexOnly() const { return m_hexOnly; }
    // Shows every character as "*".
    void setMasked(bool on);
    bool isMasked() const;

    std::string keyText() const;
    void setKeyText(const std::string& text);

    // Enters a text as if its characters were typed one by one.
    void pasteText(const QString& text);
    // The context menu, its Paste going through the typing rule.
    QMenu* createContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void unmaskEmpty();

    bool m_hexOnly = false;
};

// The key-field limit rule, run by the owning screen on every text change of the field (and for
// the default key before CheckKeyFormat): an empty field stays as it is; otherwise hex-only
// follows the format, the limit becomes the required length, and a longer text keeps the
// characters that begin at its second one.
void ApplyKeyLimit(KeyEdit& field, int formatIndex, int lengthIndex);

// The format check of the default key: with format "HEX" and a character that is not a hex
// digit, the message "Key contains characters which are non-hexadecimal." (caption "Prompt")
// and the field emptied; then hex-only follows the format. False when the field was emptied.
bool CheckKeyFormat(KeyEdit& field, int formatIndex, UiServices& ui);

// The check of default key N before Apply: "The length of keyN must be L characters",
// captioned with the program's name, when its text has not the required length. False then:
// the Apply stops.
bool CheckDefaultKeyLength(const KeyEdit& field, int keyNumber, int formatIndex, int lengthIndex,
                           UiServices& ui);
