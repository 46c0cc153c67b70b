// BSTR: a 32-bit byte count, the UTF-16 text, then a terminator. The pointer
// handed out addresses the text, so a BSTR reads as a plain wide string.
#include "platform_testing.h"
#include "thread_summed_count.h"
#include "windows.h"

#include <cstdlib>
#include <cstring>

namespace {
struct LiveBstrs;
using LiveBstrsCount = ptbridge::standin::ThreadSummedCount<LiveBstrs>;

constexpr UINT MaxChars = (0xFFFFFFFFu - sizeof(uint32_t) - sizeof(OLECHAR)) / sizeof(OLECHAR) / 2;

uint32_t* HeaderOf(BSTR text) {
    return reinterpret_cast<uint32_t*>(text) - 1;
}

BSTR Allocate(const OLECHAR* source, UINT length) {
    if (length > MaxChars || PlatformShouldFail(PlatformFaultAllocation, nullptr))
        return nullptr;
    size_t bytes = size_t(length) * sizeof(OLECHAR);
    auto* header = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (!header)
        return nullptr;
    *header = static_cast<uint32_t>(bytes);
    BSTR text = reinterpret_cast<BSTR>(header + 1);
    if (source)
        std::memcpy(text, source, bytes);
    else
        std::memset(text, 0, bytes);
    text[length] = 0;
    LiveBstrsCount::Add(1);
    return text;
}
} // namespace

extern "C" BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz)
        return nullptr;
    UINT length = 0;
    while (psz[length])
        ++length;
    return Allocate(psz, length);
}

extern "C" BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    return Allocate(strIn, ui);
}

extern "C" void SysFreeString(BSTR bstrString) {
    if (!bstrString)
        return;
    LiveBstrsCount::Add(-1);
    std::free(HeaderOf(bstrString));
}

extern "C" UINT SysStringByteLen(BSTR bstr) {
    return bstr ? *HeaderOf(bstr) : 0;
}

extern "C" UINT SysStringLen(BSTR pbstr) {
    return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}

extern "C" LONG PlatformLiveBstrCount(void) {
    return LiveBstrsCount::Total();
}
