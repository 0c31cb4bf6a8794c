#pragma once

#include <memory>
#include <string>

class AdapterBackend;

// The ways of reaching an adapter the program knows, by the name a user gives on the command line
// (--backend) or in the settings file (key Backend of section Setini): "driver", the driver
// library (the simulated adapter until a hardware one exists) and the default.
inline constexpr char defaultBackendName[] = "driver";

// The backend of that name, or null (and why, in error) for a name the program does not know.
std::shared_ptr<AdapterBackend> makeBackend(const std::string& name, std::string& error);

// The name to use: the command line's when given, else the settings file's, else the default.
std::string chooseBackendName(const std::string& commandLine, const std::string& settings);
