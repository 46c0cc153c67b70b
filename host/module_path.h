// Where the ptbridge command finds the plug-in module when --plugin is not given.
#pragma once

#include <string>

// The module beside the running executable when there is one (an installed
// copy), otherwise the module built with this executable.
std::string DefaultModulePath();
