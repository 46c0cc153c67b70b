// COM task memory on the C heap, counted so that tests can find leaks.
#include "platform_testing.h"
#include "windows.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<LONG> liveBlocks{0};
}

extern "C" LPVOID CoTaskMemAlloc(SIZE_T cb) {
    if (PlatformShouldFail(PlatformFaultAllocation, nullptr))
        return nullptr;
    void* block = std::malloc(cb ? cb : 1);
    if (block)
        liveBlocks.fetch_add(1, std::memory_order_relaxed);
    return block;
}

extern "C" void CoTaskMemFree(LPVOID pv) {
    if (!pv)
        return;
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    std::free(pv);
}

extern "C" LONG PlatformLiveTaskMemCount(void) { return liveBlocks.load(); }
