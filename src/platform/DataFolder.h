#pragma once

#include <optional>
#include <string>
#include <vector>

// The working folder: the program keeps every file of its own there (S.cba, a.cba, define.ini,
// the skin) and names them relative to it, so it runs with that folder as its current directory.
//
// Which folder:
//   1. the folder given on the command line (created when missing);
//   2. else the current directory when it holds the settings file a.cba: a prepared folder, as
//      tests, benchmarks and a portable copy use;
//   3. else $XDG_DATA_HOME/skyvane, else ~/.local/share/skyvane, created owner-only.
// A desktop launcher starts programs in the home folder, which holds no a.cba: rule 3 applies.
//
// The folder is then seeded: each delivered file it lacks is copied in (a.cba, b.cba,
// wlansim.ini, the skin, and define.ini in the user's language), never over a file that is
// there, each one created whole or not at all. A folder that cannot be made or written to is an
// error with a clear message: the program could keep neither profiles nor settings there.
namespace platform {

// Where the delivered files are: an installed data folder, or the source tree of a build.
struct DeliveredFiles {
    std::string runFolder;       // a.cba, b.cba, define.ini (English), wlansim.ini, ...
    std::string skinFolder;      // the skin's bitmaps, copied into skin/
    std::string catalogueFolder; // define.<language>.ini, one text catalogue per language
};

// The part of the process's surroundings that the rules read; tests pass their own.
struct FolderEnvironment {
    std::string currentDirectory;
    std::string xdgDataHome;
    std::string home;
    std::string locale; // the first set of LC_ALL, LC_MESSAGES and LANG
};

FolderEnvironment currentFolderEnvironment();

// The language part of a locale name: "de_DE.UTF-8" gives "de_DE" and "de"; "C", "POSIX" and
// "" give nothing. The most specific comes first.
std::vector<std::string> catalogueLanguages(const std::string& locale);

// The user's own folder of rule 3 ($XDG_DATA_HOME/skyvane, else ~/.local/share/skyvane), which
// also holds the certificate folders; nullopt when no home folder is known.
std::optional<std::string> userDataFolder(const FolderEnvironment& environment);

// Rules 1 to 3 above, as an absolute path; nullopt when no home folder is known.
std::optional<std::string> chooseWorkingFolder(const std::optional<std::string>& given,
                                               const FolderEnvironment& environment);

struct SeedResult {
    bool ok = false;
    std::string message;             // why not, when !ok
    std::vector<std::string> copied; // the files copied in, relative to the folder
};

// Creates folder when missing (owner-only, parents too), proves it writable, and copies in each
// delivered file it lacks; the text catalogue is the one of the first of languages that has one,
// else the English one. A failure leaves no partial file behind; files copied before it stay.
SeedResult seedWorkingFolder(const std::string& folder, const std::optional<DeliveredFiles>& delivered,
                             const std::vector<std::string>& languages);

// The delivered files of the program whose executable is executablePath: the data folder at
// dataFolderFromExecutable (relative to the executable's folder, "../share/skyvane") when it is
// installed; else the source tree named by the file "skyvane-resources" beside the executable,
// which a build folder holds. nullopt when neither is there.
std::optional<DeliveredFiles> findDeliveredFiles(const std::string& executablePath,
                                                 const std::string& dataFolderFromExecutable);

// The path of the running executable (/proc/self/exe); "" when unknown.
std::string runningExecutable();

struct WorkingFolder {
    bool ok = false;
    std::string path;
    std::string message; // when !ok: one line for the user
};

// Chooses the folder, seeds it and makes it the current directory.
WorkingFolder enterWorkingFolder(const std::optional<std::string>& given,
                                 const FolderEnvironment& environment,
                                 const std::optional<DeliveredFiles>& delivered);

} // namespace platform
