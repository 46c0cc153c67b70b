#include "server/class_factory.h"

#include "common/com_ptr.h"
#include "plugin/oem_ui_plugin.h"
#include "plugin/print_ticket_provider.h"
#include "server/server_state.h"

#include <new>

namespace ptbridge {

namespace {
// Hands out the interface `riid` of a freshly made object and drops the
// creation reference, so the caller ends up with the only one, or, when the
// object refuses, the object is gone.
template <typename Object> HRESULT HandOut(Object* object, REFIID riid, void** ppv) {
    ComPtr<Object> creationReference;
    creationReference.Attach(object);
    return creationReference->QueryInterface(riid, ppv);
}

HRESULT MakeProvider(REFIID riid, void** ppv) {
    auto* provider = new (std::nothrow) PrintTicketProvider();
    if (!provider)
        return E_OUTOFMEMORY;
    return HandOut(provider, riid, ppv);
}
} // namespace

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() {
    return InterlockedIncrement(&referenceCount_);
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    LONG count = InterlockedDecrement(&referenceCount_);
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;

    // The core driver asks for IID_IUnknown first and queries the object for
    // its interface afterwards: the provider's class must then give the provider.
    if (IsEqualGUID(riid, IID_IUnknown) && IsEqualGUID(classId_, CLSID_OEMPTPROVIDER))
        return MakeProvider(riid, ppv);

    auto* plugin = new (std::nothrow) OemUIPlugin();
    if (!plugin)
        return E_OUTOFMEMORY;
    HRESULT hr = HandOut(plugin, riid, ppv);
    if (SUCCEEDED(hr))
        return hr;

    return MakeProvider(riid, ppv);
}

STDMETHODIMP ClassFactory::LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&ServerLockCount);
    else
        InterlockedDecrement(&ServerLockCount);
    return S_OK;
}

} // namespace ptbridge
