#include "platform/DataFolder.h"
#include "wlansim/WorldTool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Without --world and WLANSIM_WORLD the tool edits the world of the program's working folder,
    // chosen by the program's own rules: run anywhere, it edits what the running program sees.
    const auto folder = platform::chooseWorkingFolder(std::nullopt, platform::currentFolderEnvironment());
    return wlansim::runWorldTool(args, std::cout, std::cerr,
                                 folder ? *folder + "/wlansim.ini" : "wlansim.ini");
}
