#pragma once
// The project's own folder, where the delivered run files and the catalogues' sources are.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

// SKYVANE_SOURCE_DIR when it is set (ctest sets it), else the folder the test was built from
// (add_unit_test compiles it in), so a test executable run by hand finds the same files. A
// folder that is not the project's throws, saying which one was tried.
inline std::filesystem::path sourceTree() {
    const char* named = std::getenv("SKYVANE_SOURCE_DIR");
    const bool fromEnvironment = named != nullptr && *named != '\0';
#ifdef SKYVANE_SOURCE_TREE
    const std::filesystem::path tree = fromEnvironment ? named : SKYVANE_SOURCE_TREE;
#else
    const std::filesystem::path tree = fromEnvironment ? named : "";
#endif
    if (tree.empty() || !std::filesystem::is_directory(tree / "resources" / "run")) {
        throw std::runtime_error("the project's source folder is not found" +
                                 (tree.empty()
                                      ? std::string(": set SKYVANE_SOURCE_DIR to it")
                                      : ": " + tree.string() +
                                            (fromEnvironment ? " (SKYVANE_SOURCE_DIR)" : " (built from)") +
                                            " has no resources/run"));
    }
    return tree;
}
