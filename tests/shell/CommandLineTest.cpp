#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Backend = CommandLineOptions::Backend;

QStringList argumentsOf(std::initializer_list<const char*> words) {
    QStringList arguments{QStringLiteral("skyvane")};
    for (const char* word : words) {
        arguments.append(QString::fromUtf8(word));
    }
    return arguments;
}

TEST(CommandLine, RunsWithTheOptionsGiven) {
    struct Case {
        std::initializer_list<const char*> arguments;
        std::optional<std::string> folder;
        Backend backend;
        std::string interfaceName;
        std::string controlDirectory;
    };
    const Case cases[] = {
        {{}, std::nullopt, Backend::Driver, "", ""},
        {{"/srv/wlan"}, "/srv/wlan", Backend::Driver, "", ""},
        {{"Fl\xc3\xbcgel"}, "Fl\xc3\xbcgel", Backend::Driver, "", ""},
        {{"--backend", "driver", "portable"}, "portable", Backend::Driver, "", ""},
        {{"--backend=wpa"}, std::nullopt, Backend::Wpa, "", ""},
        {{"--backend", "wpa", "--interface", "wlan0", "--control-dir", "/var/run/wpa"},
         std::nullopt,
         Backend::Wpa,
         "wlan0",
         "/var/run/wpa"},
        {{"-backend", "wpa", "-interface=wlp3s0"}, std::nullopt, Backend::Wpa, "wlp3s0", ""},
        // What Qt reads itself is left to it, with its value.
        {{"-platform", "offscreen", "-style=fusion", "-reverse", "here"}, "here", Backend::Driver, "", ""},
        {{"--", "--odd-folder"}, "--odd-folder", Backend::Driver, "", ""},
    };
    for (const Case& c : cases) {
        const QStringList arguments = argumentsOf(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine parsed = parseCommandLine(arguments);
        ASSERT_EQ(parsed.outcome, CommandLine::Outcome::Run) << parsed.error.toStdString();
        EXPECT_EQ(parsed.options.folder, c.folder);
        EXPECT_EQ(parsed.options.backend, c.backend);
        EXPECT_EQ(parsed.options.interfaceName, c.interfaceName);
        EXPECT_EQ(parsed.options.controlDirectory, c.controlDirectory);
        EXPECT_TRUE(parsed.output.isEmpty());
        EXPECT_TRUE(parsed.error.isEmpty());
    }
}

TEST(CommandLine, HelpVersionAndMistakesEndTheRunWithTheirStatus) {
    struct Case {
        std::initializer_list<const char*> arguments;
        int status;
        const char* output; // a part of standard output; nullptr: none at all
        const char* error;  // a part of standard error; nullptr: none at all
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: skyvane [options] [folder]", nullptr},
        {{"-h", "--backend", "ndis", "a", "b"}, 0, "--backend NAME", nullptr},  // help wins over the rest
        {{"--help", "--bogus"}, kExitUsage, nullptr, "Unknown option 'bogus'"}, // but needs words it knows
        {{"--version"}, 0, "skyvane " SKYVANE_VERSION "\n", nullptr},
        {{"-v"}, 0, "skyvane ", nullptr},
        {{"--bogus"}, kExitUsage, nullptr, "Unknown option 'bogus'"},
        {{"--backend", "ndis"}, kExitUsage, nullptr, "unknown backend 'ndis': choose driver or wpa"},
        {{"--backend"}, kExitUsage, nullptr, "Missing value after '--backend'"},
        {{"--backend", "wpa", "--backend", "driver"}, kExitUsage, nullptr, "--backend given more than once"},
        {{"one", "two"}, kExitUsage, nullptr, "one working folder at most, not 2"},
        {{""}, kExitUsage, nullptr, "the working folder's name is empty"},
        {{"--interface", "wlan0"},
         kExitUsage,
         nullptr,
         "--interface and --control-dir belong to --backend wpa"},
        {{"--control-dir", "/run/x"}, kExitUsage, nullptr, "belong to --backend wpa"},
        {{"--backend", "wpa", "--interface", "../../etc"}, kExitUsage, nullptr, "is not an interface name"},
        {{"--backend", "wpa", "--interface", "a-name-far-too-long"},
         kExitUsage,
         nullptr,
         "not an interface name"},
        {{"--backend", "wpa", "--control-dir="}, kExitUsage, nullptr, "the control folder's name is empty"},
    };
    for (const Case& c : cases) {
        const QStringList arguments = argumentsOf(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine parsed = parseCommandLine(arguments);
        EXPECT_EQ(parsed.outcome, CommandLine::Outcome::Exit);
        EXPECT_EQ(parsed.exitStatus, c.status);
        if (c.output != nullptr) {
            EXPECT_TRUE(parsed.output.contains(QString::fromUtf8(c.output))) << parsed.output.toStdString();
        } else {
            EXPECT_TRUE(parsed.output.isEmpty()) << parsed.output.toStdString();
        }
        if (c.error != nullptr) {
            EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.error))) << parsed.error.toStdString();
            EXPECT_TRUE(
                parsed.error.endsWith(QStringLiteral("Try 'skyvane --help' for more information.\n")));
        } else {
            EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
        }
    }
}

} // namespace
