#pragma once
// The messages the forms' windows show: a rule's message, and a save the user asked for that
// did not reach the disk.

#include "logic/FormControls.h"

#include <QString>

#include <string>

class QWidget;
struct AppContext;

// A message of a form's rules as a message box over parent (OK only).
void showFormMessage(AppContext& context, QWidget* parent, const logic::FormMessage& message);

// The sentence that says what was not saved, then why (the write's reason: the file and the
// system's words), with the program's title and a warning icon.
void tellNotSaved(AppContext& context, QWidget* parent, const QString& sentence, const std::string& reason);
