#include "controls/KeyEdit.h"

#include "controls/ApplicationTitle.h"
#include "controls/UiServices.h"
#include "logic/KeyRules.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

// A key event that types characters, as opposed to a shortcut (Ctrl+A) or a movement.
bool typesCharacters(const QKeyEvent& event) {
    if (event.text().isEmpty() || (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    for (const QChar c : event.text()) {
        if (!c.isPrint()) {
            return false;
        }
    }
    return true;
}

} // namespace

KeyEdit::KeyEdit(QWidget* parent) : QLineEdit(parent) {
    // The mask is "*", whatever the style would draw.
    setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    setAcceptDrops(false);
}

void KeyEdit::setMasked(bool on) {
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

bool KeyEdit::isMasked() const {
    return echoMode() == QLineEdit::Password;
}

std::string KeyEdit::keyText() const {
    return text().toLatin1().toStdString();
}

void KeyEdit::setKeyText(const std::string& text) {
    setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void KeyEdit::unmaskEmpty() {
    // setText, unlike clear(), also forgets the undo history: an undo must not bring the stored
    // key back, now unmasked.
    setText(QString());
    setMasked(false);
}

void KeyEdit::pasteText(const QString& text) {
    const KeyEditEntry entry = KeyEditInput(m_hexOnly, isMasked(), text.toStdU32String());
    if (entry.unmask) {
        unmaskEmpty();
    }
    QString run;
    for (const char32_t c : entry.accept) {
        if (c == backspaceKey) {
            insert(run);
            run.clear();
            backspace();
        } else {
            run += QChar(static_cast<char16_t>(c));
        }
    }
    insert(run);
}

void KeyEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly()) {
            pasteText(QGuiApplication::clipboard()->text());
        }
        event->accept();
        return;
    }
    const bool isBackspace = event->key() == Qt::Key_Backspace;
    if (isReadOnly() || (!isBackspace && !typesCharacters(*event))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const std::u32string typed =
        isBackspace ? std::u32string(1, backspaceKey) : event->text().toStdU32String();
    const KeyEditEntry entry = KeyEditInput(m_hexOnly, isMasked(), typed);
    if (entry.accept.empty()) {
        event->accept(); // discarded
        return;
    }
    if (entry.unmask) {
        unmaskEmpty();
    }
    if (entry.accept == typed) {
        QLineEdit::keyPressEvent(event);
    } else {
        pasteText(QString::fromStdU32String(entry.accept));
        event->accept();
    }
}

void KeyEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const KeyEditEntry entry = KeyEditInput(m_hexOnly, isMasked(), event->commitString().toStdU32String());
    if (entry.unmask) {
        unmaskEmpty();
    }
    QString accepted;
    for (const char32_t c : entry.accept) {
        if (c != backspaceKey) {
            accepted += QChar(static_cast<char16_t>(c));
        }
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    // After an unmask the text the input method meant to replace is gone.
    filtered.setCommitString(accepted, entry.unmask ? 0 : event->replacementStart(),
                             entry.unmask ? 0 : event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

void KeyEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        pasteText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

QMenu* KeyEdit::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    // The standard menu names its Paste action only in later Qt versions; its text is looked up
    // the way the line edit looks it up ("&Paste", then the shortcut).
    const QString pasteLabel = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        const QString text = action->text();
        const bool paste = action->objectName() == QLatin1String("edit-paste") ||
                           (text.startsWith(pasteLabel) && (text.size() == pasteLabel.size() ||
                                                            text.at(pasteLabel.size()) == QLatin1Char('\t')));
        if (paste) {
            action->disconnect();
            connect(action, &QAction::triggered, this,
                    [this] { pasteText(QGuiApplication::clipboard()->text()); });
        }
    }
    return menu;
}

void KeyEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void ApplyKeyLimit(KeyEdit& field, int formatIndex, int lengthIndex) {
    const KeyFieldState state = ApplyKeyLimit(field.keyText(), formatIndex, lengthIndex);
    if (state.limit == 0) {
        return;
    }
    field.setHexOnly(state.hexOnly);
    // The cut text first: the field's own limit would keep the first characters instead.
    if (state.text != field.keyText()) {
        field.setKeyText(state.text);
    }
    field.setMaxLength(state.limit);
}

bool CheckKeyFormat(KeyEdit& field, int formatIndex, UiServices& ui) {
    const KeyFormatCheck check = CheckKeyFormat(field.keyText(), formatIndex);
    if (check.rejected) {
        ui.message(field.window(), QString::fromLatin1(nonHexKeyMessage),
                   QString::fromLatin1(nonHexKeyCaption), UiServices::MessageIcon::None);
        field.setKeyText(std::string());
    }
    field.setHexOnly(check.hexOnly);
    return !check.rejected;
}

bool CheckDefaultKeyLength(const KeyEdit& field, int keyNumber, int formatIndex, int lengthIndex,
                           UiServices& ui) {
    const auto message = CheckWepKeyLength(field.keyText(), keyNumber, formatIndex, lengthIndex);
    if (message) {
        ui.message(field.window(), QString::fromStdString(*message), QString::fromLatin1(applicationTitle),
                   UiServices::MessageIcon::None);
    }
    return !message;
}
