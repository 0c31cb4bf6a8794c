#pragma once

#include "adapter/WpaSupplicantBackend.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AdapterBackend;
class AppSettings;
class CertificateStore;
struct CommandLineOptions;

namespace wpa {
struct CertificateLookup;
}

// The ways of reaching an adapter the program knows, by the name a user gives on the command line
// (--backend) or in the settings file (key Backend of section Setini):
//   "driver"  the driver library (the simulated adapter until a hardware one exists); the default;
//   "wpa"     a real adapter through the system's wpa_supplicant and its control socket.
inline constexpr char defaultBackendName[] = "driver";
inline constexpr char wpaBackendName[] = "wpa";
inline constexpr char defaultControlDirectory[] = "/run/wpa_supplicant";

// The settings file's keys (section Setini) for the wpa backend, each used where the command line
// gives none:
//   WpaInterface   the interface; without it, the only wireless interface there is
//   WpaControlDir  the folder of the supplicant's control sockets; relative to the working folder
inline constexpr char interfaceSettingKey[] = "WpaInterface";
inline constexpr char controlDirectorySettingKey[] = "WpaControlDir";

// A name the kernel could give an interface: 1 to 15 bytes, no '/', no blank, not "." or "..".
bool isInterfaceName(std::string_view name);

// What the program makes its backend from.
struct BackendChoice {
    std::string name = defaultBackendName;
    std::string interfaceName; // wpa: "" for the only wireless interface there is
    std::string controlDirectory = defaultControlDirectory;
    // Settings that were not used, each with the reason, for the log.
    std::vector<std::string> notes;
};

// The command line's choices first, then the settings file's, then the defaults. A backend name
// the program does not know, an interface name no kernel gives and an empty folder are noted and
// left out: a slip in the settings file must not keep the program from starting. A relative
// folder of the command line must have been made absolute before the working folder was entered;
// one from the settings file is taken relative to the working folder (the current directory).
BackendChoice chooseBackend(const CommandLineOptions& commandLine, const AppSettings& settings);

// The country the user chose at the first start, as the settings file keeps it: the channel plan
// (0: none chosen yet) and a single nation's ISO 3166 code ("" for a region or a standard).
using ChosenCountry = WpaSupplicantBackend::CountryChoice;
ChosenCountry chosenCountry(const AppSettings& settings);

// What a backend may use of the program's services.
struct BackendServices {
    const CertificateStore* certificates = nullptr; // none: 802.1X networks are stored, not joined
    // Absolute; where the supplicant's copies of authority certificates are kept.
    std::string workingFolder;
    // Asked whenever the adapter starts and when the user chooses a country.
    std::function<ChosenCountry()> country;
};

// The backend of that choice, or null (and why, in error) for a name the program does not know.
std::shared_ptr<AdapterBackend> makeBackend(const BackendChoice& choice, const BackendServices& services,
                                            std::string& error);

// Where the supplicant finds the files of a certificate that a profile names by its identifier:
// a personal certificate's own files in the store; an authority's certificate (the store gives
// only its text) in a copy under folder/supplicant/, written when missing or changed. Paths are
// absolute: the supplicant does not run in the program's folder. An encrypted private key is
// handed over as it is, with a warning: the program keeps no key passwords. The lookups never
// read a certificate file: they take what the store's reading (started here) has found.
wpa::CertificateLookup certificateLookup(const CertificateStore& store, const std::string& folder);
