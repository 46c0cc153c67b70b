// Process-wide state of the COM server, zero at load.
#pragma once

#include "common/platform.h"

namespace ptbridge {

// Server locks taken through IClassFactory::LockServer; read by DllCanUnloadNow.
extern volatile LONG ServerLockCount;
// The module handle recorded at process attach.
extern HINSTANCE ModuleHandle;

} // namespace ptbridge
