#include "platform/DataFolder.h"

#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

const char* const kSettingsFile = "a.cba";
const char* const kCatalogueFile = "define.ini";
const char* const kSkinFolder = "skin";
const char* const kResourcesMarker = "skyvane-resources";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string absoluteFrom(const std::string& base, const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        return withoutTrailingSlashes(path);
    }
    if (base.empty()) {
        return path.empty() ? "." : path; // the current directory is gone: relative it stays
    }
    if (path.empty() || path == ".") {
        return withoutTrailingSlashes(base);
    }
    return withoutTrailingSlashes(withoutTrailingSlashes(base) + "/" + path);
}

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string homeFromPasswordFile() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "";
}

struct Copy {
    std::string source;
    std::string target; // relative to the working folder
};

// What the delivered files offer, in the order they are copied: the run files, the text
// catalogue of the language, the skin.
std::vector<Copy> deliveredCopies(const DeliveredFiles& delivered,
                                  const std::vector<std::string>& languages) {
    std::vector<Copy> copies;
    for (const std::string& name : regularFilesIn(delivered.runFolder)) {
        if (name != kCatalogueFile) {
            copies.push_back({delivered.runFolder + "/" + name, name});
        }
    }
    std::string catalogue = delivered.runFolder + "/" + kCatalogueFile;
    for (const std::string& language : languages) {
        const std::string translated = delivered.catalogueFolder + "/define." + language + ".ini";
        if (isRegularFile(translated)) {
            catalogue = translated;
            break;
        }
    }
    if (isRegularFile(catalogue)) {
        copies.push_back({catalogue, kCatalogueFile});
    }
    for (const std::string& name : regularFilesIn(delivered.skinFolder)) {
        copies.push_back({delivered.skinFolder + "/" + name, std::string(kSkinFolder) + "/" + name});
    }
    return copies;
}

// Proves that files can be made in folder, whoever the user is and whatever the file system:
// permission bits alone say nothing about read-only mounts, and nothing at all to root.
int writeProbeError(const std::string& folder) {
    const std::string probe = folder + "/.skyvane-write-test." + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return 0;
}

// Makes folder and its missing parents owner-only; "" when it is there afterwards, else why not.
std::string folderError(const std::string& folder) {
    if (isDirectory(folder)) {
        return "";
    }
    if (existsAtAll(folder)) {
        return "it is not a folder";
    }
    errno = 0;
    if (makeDirectories(folder, 0700) && isDirectory(folder)) {
        return "";
    }
    return errno != 0 ? diag::reason(errno) : "something else is in its way";
}

SeedResult failure(std::string message) {
    SeedResult result;
    result.message = std::move(message);
    return result;
}

const char* const kAdvice = "; give another working folder on the command line (skyvane FOLDER)";

} // namespace

FolderEnvironment currentFolderEnvironment() {
    FolderEnvironment environment;
    if (char* cwd = ::getcwd(nullptr, 0)) {
        environment.currentDirectory = cwd;
        std::free(cwd);
    }
    environment.xdgDataHome = environmentValue("XDG_DATA_HOME");
    environment.home = environmentValue("HOME");
    if (environment.home.empty()) {
        environment.home = homeFromPasswordFile();
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        environment.locale = environmentValue(name);
        if (!environment.locale.empty()) {
            break;
        }
    }
    return environment;
}

std::vector<std::string> catalogueLanguages(const std::string& locale) {
    // language[_territory][.codeset][@modifier]
    const std::string name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return {};
    }
    const auto underscore = name.find('_');
    const std::string language = name.substr(0, underscore);
    const bool plain = !language.empty() && std::all_of(language.begin(), language.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
    if (!plain) {
        return {}; // never a path: the name becomes part of a file name
    }
    std::vector<std::string> languages;
    if (underscore != std::string::npos) {
        const std::string territory = name.substr(underscore + 1);
        if (!territory.empty() && std::all_of(territory.begin(), territory.end(), [](char c) {
                return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            })) {
            languages.push_back(name);
        }
    }
    languages.push_back(language);
    return languages;
}

std::optional<std::string> chooseWorkingFolder(const std::optional<std::string>& given,
                                               const FolderEnvironment& environment) {
    if (given) {
        return absoluteFrom(environment.currentDirectory, *given);
    }
    if (!environment.currentDirectory.empty() &&
        isRegularFile(resolveFileNameIn(environment.currentDirectory, kSettingsFile))) {
        return withoutTrailingSlashes(environment.currentDirectory);
    }
    return userDataFolder(environment);
}

std::optional<std::string> userDataFolder(const FolderEnvironment& environment) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules ask.
    if (!environment.xdgDataHome.empty() && environment.xdgDataHome[0] == '/') {
        return withoutTrailingSlashes(environment.xdgDataHome) + "/skyvane";
    }
    if (!environment.home.empty() && environment.home[0] == '/') {
        return withoutTrailingSlashes(environment.home) + "/.local/share/skyvane";
    }
    return std::nullopt;
}

SeedResult seedWorkingFolder(const std::string& folder, const std::optional<DeliveredFiles>& delivered,
                             const std::vector<std::string>& languages) {
    if (const std::string error = folderError(folder); !error.empty()) {
        return failure("cannot create the working folder " + folder + ": " + error + kAdvice);
    }
    if (const int error = writeProbeError(folder)) {
        return failure("cannot write to the working folder " + folder + ": " + diag::reason(error) + kAdvice);
    }
    SeedResult result;
    result.ok = true;
    if (!delivered) {
        diag::warning(diag::platformCategory,
                      "the delivered files were not found: the working folder " + folder + " is not seeded");
        return result;
    }
    for (const Copy& copy : deliveredCopies(*delivered, languages)) {
        // The program matches its file names without regard to case: "A.CBA" is a.cba.
        const std::string target = resolveFileNameIn(folder, copy.target);
        if (existsAtAll(target)) {
            continue;
        }
        const auto slash = target.rfind('/');
        const std::string parent = target.substr(0, slash);
        if (const std::string error = folderError(parent); !error.empty()) {
            return failure("cannot create " + parent + ": " + error + kAdvice);
        }
        const auto content = readWholeFile(copy.source);
        if (!content) {
            // A damaged installation; the program still runs without that file.
            diag::warning(diag::platformCategory,
                          "cannot read the delivered file " + copy.source + ": " + diag::reason(errno));
            continue;
        }
        const CreateResult created = createFileAtomically(target, *content, FileAccess::Private);
        switch (created.status) {
        case CreateStatus::Created:
            result.copied.push_back(target.substr(folder.size() + 1));
            break;
        case CreateStatus::AlreadyExists:
            break; // made by someone else meanwhile: theirs stays
        case CreateStatus::Failed:
            return failure("cannot copy " + copy.target + " into the working folder: " + created.failure +
                           kAdvice);
        }
    }
    return result;
}

std::optional<DeliveredFiles> findDeliveredFiles(const std::string& executablePath,
                                                 const std::string& dataFolderFromExecutable) {
    const auto slash = executablePath.rfind('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    const std::string executableFolder = slash == 0 ? "/" : executablePath.substr(0, slash);
    const std::string installed = canonical(absoluteFrom(executableFolder, dataFolderFromExecutable));
    if (isRegularFile(installed + "/" + kSettingsFile)) {
        return DeliveredFiles{installed, installed + "/skin", installed + "/translations"};
    }
    if (const auto marker = readWholeFile(executableFolder + "/" + kResourcesMarker)) {
        std::string resources = *marker;
        while (!resources.empty() && (resources.back() == '\n' || resources.back() == '\r')) {
            resources.pop_back();
        }
        if (!resources.empty() && isDirectory(resources + "/run")) {
            return DeliveredFiles{resources + "/run", resources + "/skin", resources + "/translations"};
        }
    }
    return std::nullopt;
}

std::string runningExecutable() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

WorkingFolder enterWorkingFolder(const std::optional<std::string>& given,
                                 const FolderEnvironment& environment,
                                 const std::optional<DeliveredFiles>& delivered) {
    WorkingFolder result;
    const auto folder = chooseWorkingFolder(given, environment);
    if (!folder) {
        result.message = std::string("no home folder is known (HOME is not set)") + kAdvice;
        return result;
    }
    result.path = *folder;
    const SeedResult seeded = seedWorkingFolder(*folder, delivered, catalogueLanguages(environment.locale));
    if (!seeded.ok) {
        result.message = seeded.message;
        return result;
    }
    if (::chdir(folder->c_str()) != 0) {
        result.message = "cannot enter the working folder " + *folder + ": " + diag::reason(errno) + kAdvice;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace platform
