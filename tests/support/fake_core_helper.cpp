#include "fake_core_helper.h"

#include "msxml_standin.h"

using namespace ptbridge;

STDMETHODIMP FakeCoreHelper::QueryInterface(REFIID riid, void** ppv) {
    *ppv = nullptr;
    bool answers = IsEqualGUID(riid, IID_IUnknown) ||
                   (offersCoreHelper && IsEqualGUID(riid, IID_IPrintCoreHelper)) ||
                   (offersDriverUI && IsEqualGUID(riid, IID_IPrintOemDriverUI));
    if (!answers)
        return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return IsEqualGUID(riid, IID_IPrintCoreHelper) ? coreHelperQueryResult : S_OK;
}

STDMETHODIMP FakeCoreHelper::GetOption(const DEVMODEW* /*pDevmode*/, DWORD /*cbSize*/,
                                       PCSTR pszFeatureRequested, PCSTR* ppszOption) {
    ++getOptionCalls;
    auto failure = optionFailures.find(pszFeatureRequested);
    if (failure != optionFailures.end()) {
        if (failure->second == S_OK)
            *ppszOption = nullptr;
        return failure->second;
    }
    auto answer = options.find(pszFeatureRequested);
    if (answer == options.end())
        return S_FALSE;
    *ppszOption = answer->second.c_str();
    return S_OK;
}

STDMETHODIMP FakeCoreHelper::CreateInstanceOfMSXMLObject(REFCLSID rclsid, IUnknown* /*punkOuter*/,
                                                         DWORD /*dwClsContext*/, REFIID riid,
                                                         LPVOID* ppv) {
    if (namespaceManagerFailure != S_OK)
        return namespaceManagerFailure;
    if (!IsEqualGUID(rclsid, CLSID_MXNamespaceManager60))
        return REGDB_E_CLASSNOTREG;
    return CreateNamespaceManager(riid, ppv);
}
