#pragma once

// Start-up: a second instance shows the first one's window (over the session bus) or, where it
// can't, gives way with a beep; runs the main window until the tray's Exit,
// and shuts the adapter object down. Returns the process's exit code.
int runApplication(int argc, char** argv);
