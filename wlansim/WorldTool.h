#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wlansim {

// The wlansim command line: edits the world file of the simulated adapter.
// Exit codes: 0 done, 1 the file could not be read or written, 2 a wrong command, argument,
// network name or value (the file is left untouched).
// The world path is --world PATH, else $WLANSIM_WORLD, else defaultWorld: the installed tool
// passes the world of the program's working folder.
int runWorldTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const std::string& defaultWorld = "wlansim.ini");

} // namespace wlansim
