// Kernel names: per-thread last error, interlocked counters, DLL entry reasons.
#pragma once

#include "types.h"

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

extern "C" {
PTBRIDGE_STANDIN_API void SetLastError(DWORD dwErrCode);
PTBRIDGE_STANDIN_API DWORD GetLastError(void);
}

// Interlocked operations are compiler intrinsics on Windows; here they are
// sequentially consistent atomic read-modify-writes returning the new value.
inline LONG InterlockedIncrement(LONG volatile* addend) {
    return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedDecrement(LONG volatile* addend) {
    return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
