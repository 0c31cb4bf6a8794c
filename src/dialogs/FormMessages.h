#pragma once
// The messages the forms' windows show: a rule's message, and a save the user asked for that
// did not reach the disk.

#include "logic/FormControls.h"

#include <QString>

class QWidget;
struct AppContext;

// A message of a form's rules as a message box over parent (OK only).
void showFormMessage(AppContext& context, QWidget* parent, const logic::FormMessage& message);

// The sentence that says what was not saved, then why (the file and the system's reason), with
// the program's title and a warning icon.
void tellNotSaved(AppContext& context, QWidget* parent, const QString& sentence);
