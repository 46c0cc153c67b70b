// Process-wide fault injection shared by the runtime, the DOM and the host.
#include "platform_testing.h"

#include <atomic>

namespace {
std::atomic<LONG> armedCall{0};
std::atomic<unsigned> armedKinds{0};
std::atomic<HRESULT> armedFailure{E_FAIL};
std::atomic<LONG> callsSeen{0};
} // namespace

extern "C" void PlatformInjectFault(LONG nth, unsigned kinds, HRESULT failure) {
    armedFailure.store(failure);
    callsSeen.store(0);
    armedKinds.store(kinds);
    armedCall.store(nth);
}

extern "C" LONG PlatformFaultCallCount(void) {
    return callsSeen.load();
}

extern "C" BOOL PlatformShouldFail(unsigned kind, HRESULT* failure) {
    if ((armedKinds.load(std::memory_order_relaxed) & kind) == 0)
        return FALSE;
    LONG call = callsSeen.fetch_add(1) + 1;
    if (call != armedCall.load())
        return FALSE;
    if (failure)
        *failure = armedFailure.load();
    return TRUE;
}
