#include "support/RecordingUiServices.h"

#include <QDialog>

void RecordingUiServices::message(QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
    m_messages.push_back({text, caption, icon});
}

int RecordingUiServices::runModal(QDialog& dialog) {
    m_modalRuns.push_back(dialog.windowTitle());
    ModalScript script;
    if (!m_queued.empty()) {
        script = std::move(m_queued.front());
        m_queued.pop_front();
    } else {
        script = m_standing;
    }
    const int result = script ? script(dialog) : int(QDialog::Rejected);
    dialog.setResult(result);
    return result;
}
