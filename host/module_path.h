// Where the ptbridge command finds the plug-in module when --plugin is not given.
#pragma once

#include <string>

// The module beside the running executable when there is one (a copy of the
// command), else the one in the installed tree's private folder relative to the
// executable, otherwise the module built with this executable.
std::string DefaultModulePath();
