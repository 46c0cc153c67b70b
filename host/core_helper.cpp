#include "core_helper.h"

#include "host_devmode.h"
#include "platform_seams.h"

#include <atomic>
#include <new>

namespace ptbridge {

namespace {
std::atomic<LONG> liveHelpers{0};
} // namespace

HostCoreHelper::HostCoreHelper() {
    ++liveHelpers;
}
HostCoreHelper::~HostCoreHelper() {
    --liveHelpers;
}

HostCoreHelper* HostCoreHelper::Create() {
    return new (std::nothrow) HostCoreHelper();
}

LONG HostCoreHelper::LiveCount() {
    return liveHelpers.load();
}

STDMETHODIMP HostCoreHelper::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IPrintCoreHelper)) {
        *ppv = static_cast<IPrintCoreHelper*>(this);
    } else if (IsEqualGUID(riid, IID_IPrintOemDriverUI)) {
        *ppv = static_cast<IPrintOemDriverUI*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HostCoreHelper::AddRef() {
    return InterlockedIncrement(&referenceCount_);
}

STDMETHODIMP_(ULONG) HostCoreHelper::Release() {
    LONG count = InterlockedDecrement(&referenceCount_);
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP HostCoreHelper::GetOption(const DEVMODEW* pDevmode, DWORD cbSize,
                                       PCSTR pszFeatureRequested, PCSTR* ppszOption) {
    if (ppszOption)
        *ppszOption = nullptr;
    HRESULT failure = E_FAIL;
    if (HostCallFails(&failure))
        return failure;
    return FindStoredOption(pDevmode, cbSize, pszFeatureRequested, ppszOption);
}

STDMETHODIMP HostCoreHelper::CreateInstanceOfMSXMLObject(REFCLSID rclsid, IUnknown* punkOuter,
                                                         DWORD /*dwClsContext*/, REFIID riid,
                                                         LPVOID* ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (punkOuter)
        return CLASS_E_NOAGGREGATION;
    if (!IsEqualGUID(rclsid, CLSID_MXNamespaceManager60))
        return REGDB_E_CLASSNOTREG;
    if (!IsEqualGUID(riid, IID_IMXNamespaceManager) && !IsEqualGUID(riid, IID_IUnknown))
        return E_NOINTERFACE;
    HRESULT failure = E_FAIL;
    if (HostCallFails(&failure))
        return failure;
    return CreateHostNamespaceManager(riid, ppv);
}

STDMETHODIMP HostCoreHelper::SetOptions(DEVMODEW*, DWORD, BOOL, const PRINT_FEATURE_OPTION*, DWORD,
                                        DWORD*, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::EnumConstrainedOptions(const DEVMODEW*, DWORD, PCSTR, PCSTR**,
                                                    DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::WhyConstrained(const DEVMODEW*, DWORD, PCSTR, PCSTR,
                                            const PRINT_FEATURE_OPTION**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::EnumFeatures(PCSTR**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::EnumOptions(PCSTR, PCSTR**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::GetFontSubstitution(PCWSTR, PCWSTR*) {
    return E_NOTIMPL;
}

STDMETHODIMP HostCoreHelper::SetFontSubstitution(PCWSTR, PCWSTR) {
    return E_NOTIMPL;
}

} // namespace ptbridge
