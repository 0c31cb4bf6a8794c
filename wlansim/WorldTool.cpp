#include "wlansim/WorldTool.h"

#include "wlansim/DriverSettings.h"
#include "wlansim/FileAccess.h"
#include "wlansim/IniText.h"
#include "wlansim/TextEscape.h"
#include "wlansim/World.h"

#include <cstdlib>
#include <iomanip>
#include <optional>
#include <sys/stat.h>

namespace wlansim {
namespace {

constexpr int exitDone = 0;
constexpr int exitFile = 1;
constexpr int exitUsage = 2;

const char* const kUsage =
    "usage: wlansim [--world PATH] COMMAND\n"
    "  status                      show the adapter and the networks\n"
    "  plug | unplug               plug the adapter in or pull it out\n"
    "  signal NAME PERCENT         set a network's signal (0 puts it out of range)\n"
    "  remove NAME                 remove a network\n"
    "  add NAME KEY=VALUE ...      add a network\n"
    "  set NAME KEY=VALUE ...      change a network, or the adapter with NAME 'adapter'\n"
    "  init                        write the default world\n"
    "The world is PATH, else $WLANSIM_WORLD, else the skyvane program's: wlansim.ini in its\n"
    "working folder (the current directory when it holds a.cba, else $XDG_DATA_HOME/skyvane,\n"
    "else ~/.local/share/skyvane). 'status' names it.\n";

struct Failure {
    int code;
    std::string message;
};

class WorldTool {
public:
    WorldTool(std::ostream& out, std::string defaultWorld)
        : m_out(out), m_defaultWorld(std::move(defaultWorld)) {}
    int run(std::vector<std::string> args);

private:
    void load();
    void save(const std::string& text);
    void status();
    void setNetworkValues(const std::string& name, const std::vector<std::string>& pairs);
    void setAdapterValues(const std::vector<std::string>& pairs);
    void add(const std::string& name, const std::vector<std::string>& pairs);
    void remove(const std::string& name);
    IniText::SectionTest networkSection(const std::string& name) const;
    void requireNetwork(const IniText& ini, const std::string& name) const;

    std::ostream& m_out;
    std::string m_defaultWorld;
    std::string m_path;
    std::string m_text;
    bool m_fileExists = false;
};

[[noreturn]] void fail(int code, std::string message) {
    throw Failure{code, std::move(message)};
}

void expectCount(const std::vector<std::string>& args, std::size_t count) {
    if (args.size() != count) {
        fail(exitUsage, "wrong number of arguments for '" + args[0] + "'");
    }
}

std::pair<std::string, std::string> splitPair(const std::string& pair) {
    std::size_t equals = pair.find('=');
    if (equals == std::string::npos || equals == 0) {
        fail(exitUsage, "expected KEY=VALUE, got '" + pair + "'");
    }
    std::string value = pair.substr(equals + 1);
    if (value.find_first_of("\r\n") != std::string::npos) {
        fail(exitUsage, "a value must fit on one line");
    }
    return {trim(pair.substr(0, equals)), trim(value)};
}

using Check = std::string (*)(std::string_view, std::string_view);

std::vector<std::pair<std::string, std::string>> checkedPairs(const std::vector<std::string>& pairs,
                                                              Check check) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& pair : pairs) {
        auto [key, value] = splitPair(pair);
        if (std::string problem = check(key, value); !problem.empty()) {
            fail(exitUsage, problem);
        }
        values.emplace_back(key, value);
    }
    return values;
}

int WorldTool::run(std::vector<std::string> args) {
    const char* env = std::getenv("WLANSIM_WORLD");
    m_path = env && *env ? env : m_defaultWorld;
    if (!args.empty() && args[0].rfind("--world", 0) == 0) {
        if (args[0] == "--world" && args.size() >= 2) {
            m_path = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else if (args[0].rfind("--world=", 0) == 0) {
            m_path = args[0].substr(8);
            args.erase(args.begin());
        } else {
            fail(exitUsage, "--world needs a path");
        }
    }
    if (args.empty()) {
        fail(exitUsage, "no command given");
    }
    const std::string& command = args[0];
    if (command == "help" || command == "--help" || command == "-h") {
        m_out << kUsage;
        return exitDone;
    }
    if (command == "init") {
        expectCount(args, 1);
        save(std::string(defaultWorldText()));
        return exitDone;
    }
    load();
    std::vector<std::string> rest(args.begin() + std::min<std::ptrdiff_t>(2, std::ptrdiff_t(args.size())),
                                  args.end());
    if (command == "status") {
        expectCount(args, 1);
        status();
    } else if (command == "plug" || command == "unplug") {
        expectCount(args, 1);
        setAdapterValues({command == "plug" ? "Present=1" : "Present=0"});
    } else if (command == "signal") {
        expectCount(args, 3);
        setNetworkValues(args[1], {"Signal=" + args[2]});
    } else if (command == "remove") {
        expectCount(args, 2);
        remove(args[1]);
    } else if (command == "add" || command == "set") {
        if (args.size() < 2 || (command == "set" && args.size() < 3)) {
            fail(exitUsage, "'" + command + "' needs a NAME and KEY=VALUE pairs");
        }
        if (command == "add") {
            add(args[1], rest);
        } else if (equalsNoCase(args[1], "adapter")) {
            setAdapterValues(rest);
        } else {
            setNetworkValues(args[1], rest);
        }
    } else {
        fail(exitUsage, "unknown command '" + command + "'");
    }
    return exitDone;
}

// A missing world file is the built-in world, which is what the driver sees then.
// A world over maxWorldBytes is refused whole: an edit of a cut copy would lose its end.
void WorldTool::load() {
    struct stat info {};
    // A link that leads nowhere is not a missing world: writing would replace the link.
    m_fileExists = ::lstat(m_path.c_str(), &info) == 0;
    if (!m_fileExists) {
        m_text = std::string(defaultWorldText());
        return;
    }
    std::string problem;
    std::optional<std::string> text = readFile(m_path, maxWorldBytes, &problem);
    if (!text) {
        fail(exitFile, "cannot read " + m_path + ": " + problem);
    }
    m_text = std::move(*text);
}

void WorldTool::save(const std::string& text) {
    if (text.size() > maxWorldBytes) {
        // Neither the library nor this tool would read it back.
        fail(exitFile, "cannot write " + m_path + ": the edited world would be larger than " +
                           std::to_string(maxWorldBytes) + " bytes");
    }
    struct stat info {};
    mode_t mode = ::stat(m_path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    if (!writeFileAtomically(m_path, text, mode)) {
        fail(exitFile, "cannot write " + m_path);
    }
}

IniText::SectionTest WorldTool::networkSection(const std::string& name) const {
    return [name](std::string_view header) {
        std::string network;
        return classifySection(header, network) == SectionKind::Network && equalsNoCase(network, name);
    };
}

void WorldTool::requireNetwork(const IniText& ini, const std::string& name) const {
    if (!ini.hasSection(networkSection(name))) {
        fail(exitUsage, "no network named '" + name + "' in " + m_path);
    }
}

void WorldTool::setNetworkValues(const std::string& name, const std::vector<std::string>& pairs) {
    IniText ini(m_text);
    requireNetwork(ini, name);
    for (const auto& [key, value] : checkedPairs(pairs, checkNetworkValue)) {
        ini.setValue(networkSection(name), key, value);
    }
    save(ini.text());
}

void WorldTool::setAdapterValues(const std::vector<std::string>& pairs) {
    IniText ini(m_text);
    auto adapter = [](std::string_view header) {
        std::string unused;
        return classifySection(header, unused) == SectionKind::Adapter;
    };
    auto values = checkedPairs(pairs, checkAdapterValue);
    if (!ini.hasSection(adapter)) {
        ini.appendSection("adapter", {});
    }
    for (const auto& [key, value] : values) {
        ini.setValue(adapter, key, value);
    }
    save(ini.text());
}

void WorldTool::add(const std::string& name, const std::vector<std::string>& pairs) {
    std::string header = "network " + name;
    std::string parsedName;
    if (name.find_first_of("[]\r\n") != std::string::npos || trim(name) != name ||
        classifySection(header, parsedName) != SectionKind::Network) {
        fail(exitUsage, "'" + name + "' cannot name a network");
    }
    IniText ini(m_text);
    if (ini.hasSection(networkSection(name))) {
        fail(exitUsage, "a network named '" + name + "' exists already");
    }
    ini.appendSection(header, checkedPairs(pairs, checkNetworkValue));
    save(ini.text());
}

void WorldTool::remove(const std::string& name) {
    IniText ini(m_text);
    requireNetwork(ini, name);
    ini.removeSections(networkSection(name));
    save(ini.text());
}

void WorldTool::status() {
    World world = parseWorld(m_text);
    const AdapterSection& adapter = world.adapter;
    m_out << "world: " << m_path << (m_fileExists ? "" : " (missing: the built-in world applies)") << '\n';
    m_out << "adapter: " << (adapter.present ? "plugged in" : "unplugged")
          << (adapter.radioOff ? ", radio off" : "") << (adapter.initFails ? ", initialisation fails" : "")
          << ", MAC " << macText(adapter.mac) << '\n';
    if (auto saved = readFile(m_path + ".state", maxStateBytes)) {
        DriverSettings settings = parseSettings(*saved, factorySettings(world));
        m_out << "driver: configured for " << quoteText(settings.ssid) << '\n';
    } else {
        m_out << "driver: factory settings, " << quoteText(world.factory.ssid) << '\n';
    }
    m_out << std::left << std::setw(16) << "NAME" << std::setw(22) << "SSID" << std::setw(19) << "BSSID"
          << std::setw(9) << "CHANNEL" << std::setw(16) << "TYPE" << std::setw(12) << "SECURITY"
          << "SIGNAL\n";
    for (const Network& network : world.networks) {
        m_out << std::setw(16) << network.name << std::setw(22) << quoteText(network.ssid) << std::setw(19)
              << macText(network.bssid) << std::setw(9)
              << (std::to_string(network.channel) + std::string(bandName(network.band))) << std::setw(16)
              << kindName(network.kind) << std::setw(12) << securityName(network.security) << network.signal
              << '\n';
    }
}

} // namespace

int runWorldTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const std::string& defaultWorld) {
    try {
        return WorldTool(out, defaultWorld).run(args);
    } catch (const Failure& failure) {
        err << "wlansim: " << failure.message << '\n';
        if (failure.code == exitUsage && failure.message.rfind("no command", 0) == 0) {
            err << kUsage;
        }
        return failure.code;
    }
}

} // namespace wlansim
