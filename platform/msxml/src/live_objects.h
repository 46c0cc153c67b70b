// Accounting of live COM objects of the stand-in DOM, and the fault-injection
// gate that every DOM and namespace-manager method passes first.
#pragma once

#include "object_memory.h"
#include "platform_testing.h"
#include "windows.h"

#include <new>

namespace ptbridge::standin {

// Base of every COM object of this library: counts it while it lives, and
// places it in recycled memory (object_memory.h). Objects are made with
// new (std::nothrow).
class LiveObject {
  public:
    static void* operator new(size_t size, const std::nothrow_t&) noexcept {
        return TakeObjectMemory(size);
    }
    static void operator delete(void* block, size_t size) noexcept {
        ReturnObjectMemory(block, size);
    }

  protected:
    LiveObject();
    ~LiveObject();
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;
};

inline void ClearOut(VARIANT* out) {
    if (out)
        VariantInit(out);
}
template <class T> void ClearOut(T** out) {
    if (out)
        *out = nullptr;
}

// True when fault injection makes this call fail: *failure then holds the
// result to return, and the given out-pointers are cleared.
template <class... Out> bool DomCallFails(HRESULT* failure, Out... outs) {
    *failure = E_FAIL;
    if (!PlatformShouldFail(PlatformFaultDom, failure))
        return false;
    (ClearOut(outs), ...);
    return true;
}

// The opening of a method that answers through `out`: the fault gate, then
// E_POINTER for a null `out`, which is otherwise cleared. True when the method
// must return *failure at once.
template <class T> bool OpeningFails(HRESULT* failure, T** out) {
    if (DomCallFails(failure, out))
        return true;
    if (!out) {
        *failure = E_POINTER;
        return true;
    }
    *out = nullptr;
    return false;
}

} // namespace ptbridge::standin
