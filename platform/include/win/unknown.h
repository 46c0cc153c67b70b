// IUnknown and IClassFactory. Interfaces are abstract classes whose pure virtual
// methods appear in the platform's slot order; they have no virtual destructor,
// so the vtable layout is exactly the slot order.
#pragma once

#include "guid.h"
#include "types.h"

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;
};
typedef IUnknown* LPUNKNOWN;

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    STDMETHOD(LockServer)(BOOL fLock) = 0;
};
