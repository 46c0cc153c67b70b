// Names of the result codes the plug-in, the DOM and the host report, so that
// a failure can be shown as "E_NOTIMPL (0x80004001)" rather than a bare number.
#pragma once

#include "common/platform.h"

#include <string>

namespace ptbridge {

// The symbolic name of `hr`, or null when it has none.
const char* HResultName(HRESULT hr);

// "NAME (0xXXXXXXXX)" for a named code, "HRESULT_FROM_WIN32(n) (0x...)" for a
// wrapped Win32 error, and the bare hex value otherwise.
std::string DescribeHResult(HRESULT hr);

} // namespace ptbridge
