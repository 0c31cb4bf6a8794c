#include "dialogs/FormMessages.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/UiServices.h"

void showFormMessage(AppContext& context, QWidget* parent, const logic::FormMessage& message) {
    const QString caption = message.caption == logic::MessageCaption::Prompt
                                ? QStringLiteral("Prompt")
                                : QString::fromLatin1(applicationTitle);
    const auto icon = message.icon == logic::MessageIcon::Information ? UiServices::MessageIcon::Information
                                                                      : UiServices::MessageIcon::None;
    context.ui.message(parent, QString::fromStdString(message.text), caption, icon);
}

void tellNotSaved(AppContext& context, QWidget* parent, const QString& sentence, const std::string& reason) {
    context.ui.message(parent, sentence + QStringLiteral("\n\n") + QString::fromStdString(reason),
                       QString::fromLatin1(applicationTitle), UiServices::MessageIcon::Warning);
}
