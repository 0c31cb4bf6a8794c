#include "Backends.h"

#include "DriverLibraryBackend.h"

std::shared_ptr<AdapterBackend> makeBackend(const std::string& name, std::string& error) {
    if (name == "driver") {
        return makeDriverLibraryBackend();
    }
    error = "unknown backend \"" + name + "\" (known: driver)";
    return nullptr;
}

std::string chooseBackendName(const std::string& commandLine, const std::string& settings) {
    if (!commandLine.empty()) {
        return commandLine;
    }
    return settings.empty() ? std::string(defaultBackendName) : settings;
}
