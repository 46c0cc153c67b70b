// Win32 error codes as text, for the Windows host's messages.
#pragma once

#include "common/platform.h"

#include <string>

namespace ptbridge {

// The system's message for `code` in UTF-8, e.g. "The system cannot find the
// file specified (error 2)".
std::string DescribeWindowsError(DWORD code);

} // namespace ptbridge
