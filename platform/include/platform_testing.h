// Test hooks of the stand-in platform: live-object accounting and fault
// injection. Every operation that can fail by injection asks
// PlatformShouldFail first; tests arm it to make the N-th such call fail and
// read the live counts afterwards to prove that nothing leaked.
#pragma once

#include "windows.h"

enum PlatformFaultKind : unsigned {
    PlatformFaultAllocation = 1u, // SysAllocString*, CoTaskMemAlloc, VariantChangeType
    PlatformFaultDom = 2u,        // DOM and namespace-manager operations
    PlatformFaultHost = 4u,       // the host's IPrintCoreHelper operations
    PlatformFaultAll = 7u,
};

extern "C" {
PTBRIDGE_STANDIN_API LONG PlatformLiveBstrCount(void);
PTBRIDGE_STANDIN_API LONG PlatformLiveTaskMemCount(void);

// Arms fault injection: counting from now, the call number `nth` (1-based)
// among operations of the given kinds fails with `failure` (allocations fail
// by returning null). nth 0 disarms. Counting restarts at every call.
PTBRIDGE_STANDIN_API void PlatformInjectFault(LONG nth, unsigned kinds, HRESULT failure);
// Number of operations of the armed kinds seen since the last PlatformInjectFault.
PTBRIDGE_STANDIN_API LONG PlatformFaultCallCount(void);
// Called by each injectable operation. True when this call must fail; then
// *failure (if not null) receives the HRESULT to report.
PTBRIDGE_STANDIN_API BOOL PlatformShouldFail(unsigned kind, HRESULT* failure);
}
