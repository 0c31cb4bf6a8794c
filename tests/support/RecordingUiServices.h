#pragma once
// A UiServices for tests: records what the window asked for and answers modal runs from a script.

#include "controls/UiServices.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class RecordingUiServices final : public UiServices {
public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
    };
    // Sets the dialog's inputs as a user would and returns the result of the run.
    using ModalScript = std::function<int(QDialog&)>;

    void message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) override;
    // Answers with the next queued script, else the standing one, else QDialog::Rejected.
    int runModal(QDialog& dialog) override;
    void beginWaitCursor() override { ++m_waitCursorBegins; }
    void endWaitCursor() override { ++m_waitCursorEnds; }
    void beep() override { ++m_beeps; }

    void queueModal(ModalScript script) { m_queued.push_back(std::move(script)); }
    void setModalScript(ModalScript script) { m_standing = std::move(script); }

    const std::vector<Message>& messages() const { return m_messages; }
    // Window titles of the dialogs run, in order.
    const std::vector<QString>& modalRuns() const { return m_modalRuns; }
    int beeps() const { return m_beeps; }
    int waitCursorBegins() const { return m_waitCursorBegins; }
    int waitCursorEnds() const { return m_waitCursorEnds; }
    // Wait cursors begun and not yet ended.
    int waitCursorDepth() const { return m_waitCursorBegins - m_waitCursorEnds; }

private:
    std::vector<Message> m_messages;
    std::vector<QString> m_modalRuns;
    std::deque<ModalScript> m_queued;
    ModalScript m_standing;
    int m_beeps = 0;
    int m_waitCursorBegins = 0;
    int m_waitCursorEnds = 0;
};
