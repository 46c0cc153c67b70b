// What every COM object of the stand-in DOM shares: the count of live
// objects, the fault-injection gate each method passes first, and the guard
// that keeps C++ exceptions from crossing the COM boundary.
#pragma once

#include "platform_testing.h"
#include "windows.h"

#include <utility>

namespace ptbridge::standin {

// Base of every COM object of this library: counted while it lives.
class LiveObject {
  protected:
    LiveObject();
    ~LiveObject();
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;
};

// A new object, or null when out of memory. The throwing new is used, and
// caught: tests of the plug-in make the non-throwing new fail on demand to
// reach the plug-in's own allocations, which the DOM's must not take.
template <class T, class... Arguments> T* NewObject(Arguments&&... arguments) noexcept {
    try {
        return new T(std::forward<Arguments>(arguments)...);
    } catch (...) {
        return nullptr;
    }
}

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
// E_INVALIDARG for a null `out` (MSXML's result for a missing out-pointer),
// which is otherwise cleared. True when the method must return *failure at
// once.
template <class T> bool OpeningFails(HRESULT* failure, T** out) {
    if (DomCallFails(failure, out))
        return true;
    if (!out) {
        *failure = E_INVALIDARG;
        return true;
    }
    *out = nullptr;
    return false;
}

// Runs a method's body; the only exceptions the standard library raises here
// are allocation failures, which become E_OUTOFMEMORY. Bodies hand out their
// results last, so a failure never leaves a result behind.
template <class Body> HRESULT Guarded(Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

} // namespace ptbridge::standin
