#include "shell/Backends.h"

#include "adapter/DriverLibraryBackend.h"
#include "adapter/WpaNetworkBlock.h"
#include "adapter/WpaSupplicantBackend.h"
#include "platform/CertificateStore.h"
#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"
#include "platform/HexDigits.h"
#include "shell/CommandLine.h"
#include "storage/AppSettings.h"

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace {

std::string absoluteIn(const std::string& folder, const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    return (std::filesystem::path(folder) / path).lexically_normal().string();
}

// The supplicant reads an authority's certificate from a file; the store gives its text. The
// copy is rewritten only when it differs, so a re-apply every reconnection costs one read.
std::optional<std::string> authorityCopy(const std::string& folder, const std::string& identifier,
                                         const std::string& pem) {
    // The store's identifiers are hex digits; anything else never names a file here.
    for (const char c : identifier) {
        if (platform::hexDigitValue(c) < 0) {
            return std::nullopt;
        }
    }
    const std::string directory = folder + "/supplicant";
    if (!platform::makeDirectories(directory, 0700)) {
        diag::warning(diag::adapterCategory,
                      "cannot create " + directory +
                          " for the supplicant's certificates: " + diag::reason(errno));
        return std::nullopt;
    }
    const std::string path = directory + "/authority-" + identifier + ".pem";
    if (platform::readWholeFile(path) == pem) {
        return path;
    }
    if (!platform::replaceFileAtomically(path, pem, platform::FileAccess::Private)) {
        return std::nullopt; // the failure is in the diagnostics with its reason
    }
    return path;
}

} // namespace

bool isInterfaceName(std::string_view name) {
    if (name.empty() || name.size() > 15 || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        if (c == '/' || c == ':' || static_cast<unsigned char>(c) <= ' ' || c == 0x7f) {
            return false;
        }
    }
    return true;
}

BackendChoice chooseBackend(const CommandLineOptions& commandLine, const AppSettings& settings) {
    BackendChoice choice;
    if (commandLine.backendGiven) {
        choice.name =
            commandLine.backend == CommandLineOptions::Backend::Wpa ? wpaBackendName : defaultBackendName;
    } else if (const std::string named = settings.setiniText("Backend"); !named.empty()) {
        if (named == defaultBackendName || named == wpaBackendName) {
            choice.name = named;
        } else {
            choice.notes.push_back("unknown backend \"" + named +
                                   "\" in the settings (known: driver, wpa): using " + defaultBackendName);
        }
    }
    if (choice.name != wpaBackendName) {
        return choice;
    }

    if (!commandLine.interfaceName.empty()) {
        choice.interfaceName = commandLine.interfaceName;
    } else if (const std::string named = settings.setiniText(interfaceSettingKey); !named.empty()) {
        if (isInterfaceName(named)) {
            choice.interfaceName = named;
        } else {
            choice.notes.push_back("\"" + named + "\" (" + interfaceSettingKey +
                                   " in the settings) is not an interface name: using the only wireless "
                                   "interface there is");
        }
    }

    if (!commandLine.controlDirectory.empty()) {
        choice.controlDirectory = commandLine.controlDirectory;
    } else if (const std::string named = settings.setiniText(controlDirectorySettingKey); !named.empty()) {
        std::error_code error;
        const std::filesystem::path here = std::filesystem::current_path(error);
        choice.controlDirectory = error ? named : absoluteIn(here.string(), named);
    }
    return choice;
}

ChosenCountry chosenCountry(const AppSettings& settings) {
    ChosenCountry chosen;
    const int plan = settings.setiniNumber("CountryDomain");
    if (plan <= 0 || plan == AppSettings::countryPending) {
        return chosen; // nothing chosen yet: the system's regulatory domain stands
    }
    chosen.channelPlan = plan;
    const std::string code = settings.setiniText("Country");
    const bool iso = code.size() == 2 && std::isupper(static_cast<unsigned char>(code[0])) &&
                     std::isupper(static_cast<unsigned char>(code[1]));
    if (iso) {
        chosen.isoCode = code;
    }
    return chosen;
}

wpa::CertificateLookup certificateLookup(const CertificateStore& store, const std::string& folder) {
    // The lookups run on the adapter's thread and take the files the store has found; its
    // reading runs on a thread of its own, from now and whenever the certificate dialog opens.
    store.startReading();
    wpa::CertificateLookup lookup;
    lookup.clientCertificate = [&store, folder](const std::string& identifier) {
        std::optional<wpa::ClientCertificateFiles> found;
        const std::optional<CertificateFiles> files = store.filesFor(identifier);
        if (!files) {
            return found;
        }
        found.emplace();
        // A PKCS#12 file holds both: the supplicant takes it as the private key alone.
        found->certificate = files->pkcs12 ? std::string() : absoluteIn(folder, files->certificateFile);
        found->privateKey = absoluteIn(folder, files->privateKeyFile);
        if (files->keyEncrypted) {
            diag::warning(diag::adapterCategory,
                          "the private key of certificate " + identifier +
                              " is encrypted: the supplicant cannot use it without its password, which this "
                              "program does not keep");
        }
        return found;
    };
    lookup.authorityFile = [&store, folder](const std::string& identifier) -> std::optional<std::string> {
        const std::optional<std::string> pem = store.pemFor(identifier);
        if (!pem) {
            return std::nullopt;
        }
        return authorityCopy(folder, identifier, *pem);
    };
    return lookup;
}

std::shared_ptr<AdapterBackend> makeBackend(const BackendChoice& choice, const BackendServices& services,
                                            std::string& error) {
    if (choice.name == defaultBackendName) {
        return makeDriverLibraryBackend();
    }
    if (choice.name == wpaBackendName) {
        WpaSupplicantBackend::Options options;
        options.interfaceName = choice.interfaceName;
        options.controlDirectory = choice.controlDirectory;
        options.chosenCountry = services.country;
        wpa::CertificateLookup lookup;
        if (services.certificates != nullptr) {
            lookup = certificateLookup(*services.certificates, services.workingFolder);
        }
        return std::make_shared<WpaSupplicantBackend>(std::move(options), std::move(lookup));
    }
    error = "unknown backend \"" + choice.name + "\" (known: driver, wpa)";
    return nullptr;
}
