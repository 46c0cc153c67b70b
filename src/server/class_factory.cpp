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

    auto* plugin = new (std::nothrow) OemUIPlugin();
    if (!plugin)
        return E_OUTOFMEMORY;
    HRESULT hr = HandOut(plugin, riid, ppv);
    if (SUCCEEDED(hr))
        return hr;

    auto* provider = new (std::nothrow) PrintTicketProvider();
    if (!provider)
        return E_OUTOFMEMORY;
    return HandOut(provider, riid, ppv);
}

STDMETHODIMP ClassFactory::LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&ServerLockCount);
    else
        InterlockedDecrement(&ServerLockCount);
    return S_OK;
}

} // namespace ptbridge
