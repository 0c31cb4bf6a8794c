#include "shell/DiagnosticsSink.h"

#include "controls/ApplicationTitle.h"
#include "controls/UiServices.h"
#include "platform/Diagnostics.h"

#include <QLoggingCategory>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace {

Q_LOGGING_CATEGORY(platformLog, "skyvane.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(storageLog, "skyvane.storage", QtInfoMsg)
Q_LOGGING_CATEGORY(adapterLog, "skyvane.adapter", QtInfoMsg)
Q_LOGGING_CATEGORY(logicLog, "skyvane.logic", QtInfoMsg)

const QLoggingCategory& categoryOf(std::string_view name) {
    if (name == diag::storageCategory) {
        return storageLog();
    }
    if (name == diag::adapterCategory) {
        return adapterLog();
    }
    if (name == diag::logicCategory) {
        return logicLog();
    }
    return platformLog();
}

} // namespace

void installDiagnosticsSink(QObject* context, UiServices& ui) {
    struct Shown {
        std::mutex mutex;
        std::set<std::string> messages;
    };
    auto shown = std::make_shared<Shown>();
    QPointer<QObject> target(context);
    diag::setSink(
        [shown, target, &ui](diag::Level level, std::string_view category, std::string_view message) {
            const QLoggingCategory& log = categoryOf(category);
            const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
            switch (level) {
            case diag::Level::Debug:
                qCDebug(log).noquote() << text;
                return;
            case diag::Level::Info:
                qCInfo(log).noquote() << text;
                return;
            case diag::Level::Warning:
                qCWarning(log).noquote() << text;
                return;
            case diag::Level::Notice:
                qCWarning(log).noquote() << text;
                break;
            }
            {
                const std::lock_guard guard(shown->mutex);
                if (!shown->messages.insert(std::string(message)).second) {
                    return; // told once is enough
                }
            }
            if (target) {
                QMetaObject::invokeMethod(
                    target.data(),
                    [&ui, text] {
                        ui.message(nullptr, text, QString::fromLatin1(applicationTitle),
                                   UiServices::MessageIcon::Warning);
                    },
                    Qt::QueuedConnection);
            }
        });
}

void removeDiagnosticsSink() {
    diag::setSink({});
}
