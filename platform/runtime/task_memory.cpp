// COM task memory on the C heap, counted so that tests can find leaks.
#include "platform_testing.h"
#include "thread_summed_count.h"
#include "windows.h"

#include <cstdlib>

namespace {
struct LiveTaskMemory;
using LiveTaskMemoryCount = ptbridge::standin::ThreadSummedCount<LiveTaskMemory>;
} // namespace

extern "C" LPVOID CoTaskMemAlloc(SIZE_T cb) {
    if (PlatformShouldFail(PlatformFaultAllocation, nullptr))
        return nullptr;
    void* block = std::malloc(cb ? cb : 1);
    if (block)
        LiveTaskMemoryCount::Add(1);
    return block;
}

extern "C" void CoTaskMemFree(LPVOID pv) {
    if (!pv)
        return;
    LiveTaskMemoryCount::Add(-1);
    std::free(pv);
}

extern "C" LONG PlatformLiveTaskMemCount(void) {
    return LiveTaskMemoryCount::Total();
}
