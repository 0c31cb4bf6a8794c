#include "shell/CommandLine.h"

#include "shell/Backends.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace {

const char* const kUsage = "Usage: skyvane [options] [folder]\n";

const char* const kHelp =
    "Skyvane Configuration Utility: configures and monitors a wireless LAN adapter from the\n"
    "notification area.\n"
    "\n"
    "Arguments:\n"
    "  folder              the working folder, made when missing. Without it: the current\n"
    "                      folder when it holds a.cba, else $XDG_DATA_HOME/skyvane\n"
    "                      (~/.local/share/skyvane). Delivered files it lacks are copied in.\n"
    "\n"
    "Options:\n"
    "  -h, --help          show this help and exit\n"
    "  -v, --version       show the version and exit\n"
    "  --backend NAME      how the adapter is reached: \"driver\" (the default), its driver\n"
    "                      library; \"wpa\", the system's wpa_supplicant\n"
    "  --interface NAME    wpa: the wireless interface (default: the only one there is)\n"
    "  --control-dir DIR   wpa: the folder of its control sockets (default: /run/wpa_supplicant)\n"
    "                      Without these options, the settings file's (a.cba, section Setini:\n"
    "                      Backend, WpaInterface, WpaControlDir) are used.\n"
    "\n"
    "Exit status: 0 when the program ends or another one is already running, 1 when the\n"
    "working folder cannot be used, 2 for a wrong command line.\n";

// Options that Qt's own start-up reads from the same command line; with a value or without.
const char* const kQtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowtitle",
    "title",
    "qwindowicon",
    "icon",
    "session",
    "display",
    "name",
    "style",
    "stylesheet",
    "qmljsdebugger",
};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

CommandLine exitWith(int status, const QString& output, const QString& error) {
    CommandLine result;
    result.outcome = CommandLine::Outcome::Exit;
    result.exitStatus = status;
    result.output = output;
    result.error = error;
    return result;
}

CommandLine usageError(const QString& what) {
    return exitWith(kExitUsage, QString(),
                    QStringLiteral("skyvane: %1\nTry 'skyvane --help' for more information.\n").arg(what));
}

} // namespace

QString versionText() {
    return QStringLiteral("skyvane " SKYVANE_VERSION);
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // One dash or two: Qt's own options are spelled "-platform", and ours read either way.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption backend(QStringLiteral("backend"), QString(), QStringLiteral("name"));
    const QCommandLineOption interfaceName(QStringLiteral("interface"), QString(), QStringLiteral("name"));
    const QCommandLineOption controlDirectory(QStringLiteral("control-dir"), QString(),
                                              QStringLiteral("dir"));
    parser.addOptions({help, version, backend, interfaceName, controlDirectory});
    for (const char* name : kQtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    if (!parser.parse(arguments)) {
        return usageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        return exitWith(0, QString::fromLatin1(kUsage) + QString::fromLatin1(kHelp), QString());
    }
    if (parser.isSet(version)) {
        return exitWith(0, versionText() + QLatin1Char('\n'), QString());
    }

    CommandLine result;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        return usageError(QStringLiteral("one working folder at most, not %1").arg(positional.size()));
    }
    if (positional.size() == 1) {
        if (positional.front().isEmpty()) {
            return usageError(QStringLiteral("the working folder's name is empty"));
        }
        result.options.folder = QFile::encodeName(positional.front()).toStdString();
    }
    // An option given twice is a mistake whichever one was meant.
    for (const QCommandLineOption* single : {&backend, &interfaceName, &controlDirectory}) {
        if (parser.values(*single).size() > 1) {
            return usageError(QStringLiteral("--%1 given more than once").arg(single->names().constFirst()));
        }
    }
    const QString backendName = parser.value(backend);
    result.options.backendGiven = parser.isSet(backend);
    if (!parser.isSet(backend) || backendName == QLatin1String("driver")) {
        result.options.backend = CommandLineOptions::Backend::Driver;
    } else if (backendName == QLatin1String("wpa")) {
        result.options.backend = CommandLineOptions::Backend::Wpa;
    } else {
        return usageError(QStringLiteral("unknown backend '%1': choose driver or wpa").arg(backendName));
    }
    const bool wpa = result.options.backend == CommandLineOptions::Backend::Wpa;
    if (!wpa && (parser.isSet(interfaceName) || parser.isSet(controlDirectory))) {
        return usageError(QStringLiteral("--interface and --control-dir belong to --backend wpa"));
    }
    if (parser.isSet(interfaceName)) {
        const QString name = parser.value(interfaceName);
        const std::string bytes = QFile::encodeName(name).toStdString();
        if (!isInterfaceName(bytes)) {
            return usageError(QStringLiteral("'%1' is not an interface name").arg(name));
        }
        result.options.interfaceName = bytes;
    }
    if (parser.isSet(controlDirectory)) {
        if (parser.value(controlDirectory).isEmpty()) {
            return usageError(QStringLiteral("the control folder's name is empty"));
        }
        result.options.controlDirectory = QFile::encodeName(parser.value(controlDirectory)).toStdString();
    }
    return result;
}

CommandLine parseCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QFile::decodeName(argv[i]));
    }
    if (arguments.isEmpty()) {
        arguments.append(QStringLiteral("skyvane"));
    }
    return parseCommandLine(arguments);
}

void printCommandLineOutcome(const CommandLine& commandLine) {
    if (!commandLine.output.isEmpty()) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    if (!commandLine.error.isEmpty()) {
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
    }
}
