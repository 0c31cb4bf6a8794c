#pragma once

// Start-up: refuses a second instance with a beep, runs the main window until the tray's Exit,
// and shuts the adapter object down. Returns the process's exit code.
int runApplication(int argc, char** argv);
