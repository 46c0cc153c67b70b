// The ptbridge command line: parses the arguments (UTF-8) and runs the command
// they name; returns the process's exit status.
#pragma once

namespace ptbridge {

int RunCommandLine(int argc, const char* const* argv);

} // namespace ptbridge
