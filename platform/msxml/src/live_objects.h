// Accounting of live COM objects of the stand-in DOM, and the fault-injection
// gate that every DOM and namespace-manager method passes first.
#pragma once

#include "platform_testing.h"
#include "windows.h"

// Base of every COM object of this library: counts it while it lives.
class LiveObject {
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
