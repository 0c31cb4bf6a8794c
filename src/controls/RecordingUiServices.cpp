#include "RecordingUiServices.h"

#include <QDialog>

#include <numeric>

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

void RecordingUiServices::sleep(std::chrono::milliseconds duration) {
    m_sleeps.push_back(duration);
}

std::chrono::milliseconds RecordingUiServices::totalSlept() const {
    return std::accumulate(m_sleeps.begin(), m_sleeps.end(), std::chrono::milliseconds(0));
}
