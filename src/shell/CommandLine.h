#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// The program's command line:  skyvane [options] [folder]
// It is read before the application object exists, so that --help and --version work without a
// display. The options Qt itself reads (-platform, -display, -style, ...) are accepted and left
// to it.

// What the command line asks for.
struct CommandLineOptions {
    enum class Backend {
        Driver, // the adapter's driver library (the simulated one unless another is installed)
        Wpa,    // the system's wpa_supplicant, through its control socket
    };

    std::optional<std::string> folder; // the working folder, as given (a file name's bytes)
    Backend backend = Backend::Driver;
    bool backendGiven = false; // --backend was given (else the settings file may choose)
    // wpa, each "" when not given (the settings file's, else the default, is used then):
    std::string interfaceName;    // the interface; by default the only wireless one there is
    std::string controlDirectory; // where the supplicant's control sockets are
};

// Exit statuses, as the manual page lists them.
inline constexpr int kExitFolderUnusable = 1;
inline constexpr int kExitUsage = 2;

struct CommandLine {
    enum class Outcome { Run, Exit };

    Outcome outcome = Outcome::Run;
    int exitStatus = 0;
    QString output; // for standard output: the help or the version
    QString error;  // for standard error: what is wrong, and where to find help
    CommandLineOptions options;
};

// arguments[0] is the program's name, as in argv.
CommandLine parseCommandLine(const QStringList& arguments);
CommandLine parseCommandLine(int argc, char** argv);

// Writes output and error of an Exit outcome to their streams.
void printCommandLineOutcome(const CommandLine& commandLine);

// "skyvane 1.0.0"
QString versionText();
