// The per-thread last-error code.
#include "windows.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

extern "C" void SetLastError(DWORD dwErrCode) {
    lastError = dwErrCode;
}

extern "C" DWORD GetLastError(void) {
    return lastError;
}
