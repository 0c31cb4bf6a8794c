#pragma once

class QObject;
class UiServices;

// Passes the core's diagnostics on to logging categories of the same names ("skyvane.storage"),
// from whatever thread they come. The ones the user should hear of are shown once each in a
// message box through ui, on the window's thread (context: the object whose thread that is).
// Removed again when the object is destroyed.
void installDiagnosticsSink(QObject* context, UiServices& ui);
void removeDiagnosticsSink();
