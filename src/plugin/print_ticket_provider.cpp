#include "plugin/print_ticket_provider.h"

#include "common/com_ptr.h"
#include "common/format_string.h"
#include "common/namespaces.h"

namespace ptbridge {

namespace {
// Names longer than this are refused when measured.
constexpr size_t MaxNamespaceChars = 10000;
} // namespace

STDMETHODIMP PrintTicketProvider::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IPrintOemPrintTicketProvider)) {
        *ppv = static_cast<IPrintOemPrintTicketProvider*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PrintTicketProvider::AddRef() {
    return InterlockedIncrement(&referenceCount_);
}

STDMETHODIMP_(ULONG) PrintTicketProvider::Release() {
    LONG count = InterlockedDecrement(&referenceCount_);
    if (count == 0) {
        // The provider's own reference on the core helper, taken in PublishDriverInterface.
        if (coreHelper_)
            coreHelper_->Release();
        delete this;
    }
    return count;
}

STDMETHODIMP PrintTicketProvider::GetSupportedVersions(HANDLE /*hPrinter*/, INT* ppVersions[],
                                                       INT* pcVersions) {
    if (!ppVersions || !pcVersions)
        return E_INVALIDARG;
    *ppVersions = static_cast<INT*>(CoTaskMemAlloc(sizeof(INT)));
    if (!*ppVersions)
        return E_OUTOFMEMORY;
    (*ppVersions)[0] = SupportedProviderVersion;
    *pcVersions = 1;
    return S_OK;
}

HRESULT PrintTicketProvider::AllocateNamespaceText(BSTR* text) {
    *text = nullptr;
    size_t length = 0;
    HRESULT hr = BoundedLength(PrivateNamespaceUri, MaxNamespaceChars, &length);
    if (hr != S_OK)
        return E_INVALIDARG;
    UniqueBstr value(SysAllocStringLen(nullptr, static_cast<UINT>(length)));
    if (!value.Get())
        return E_OUTOFMEMORY;
    // The BSTR has room for the text and its terminator; its counted length is
    // the text's alone.
    RETURN_IF_NOT_OK(FormatString(value.Get(), length + 1, W("%s"), PrivateNamespaceUri));
    *text = value.Detach();
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::BindPrinter(HANDLE hPrinter, INT version, OEMPTOPTS* pOptions,
                                              INT* pcNamespaces, BSTR** ppNamespaces) {
    if (!pOptions || !pcNamespaces || !ppNamespaces || !hPrinter)
        return E_INVALIDARG;
    *ppNamespaces = nullptr;
    *pcNamespaces = 0;
    if (version != SupportedProviderVersion)
        return E_VERSION_NOT_SUPPORTED;

    boundPrinter_ = hPrinter;
    *pOptions = OEMPT_DEFAULT;
    *pcNamespaces = 1;

    auto* namespaces = static_cast<BSTR*>(CoTaskMemAlloc(sizeof(BSTR)));
    if (!namespaces)
        return E_OUTOFMEMORY;
    HRESULT hr = AllocateNamespaceText(&namespaces[0]);
    if (hr != S_OK) {
        CoTaskMemFree(namespaces);
        return hr;
    }
    *ppNamespaces = namespaces;
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::PublishDriverInterface(IUnknown* pIUnknown) {
    if (!pIUnknown)
        return E_INVALIDARG;
    if (coreHelper_)
        return S_OK;
    HRESULT hr =
        pIUnknown->QueryInterface(IID_IPrintCoreHelper, reinterpret_cast<void**>(&coreHelper_));
    if (hr != S_OK) {
        // Released by hand: a query that succeeded in another way still handed
        // over a reference, a failed one handed over nothing whatever it wrote.
        if (SUCCEEDED(hr) && coreHelper_)
            coreHelper_->Release();
        coreHelper_ = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::QueryDeviceDefaultNamespace(BSTR* pbstrNamespaceUri) {
    if (!pbstrNamespaceUri)
        return E_INVALIDARG;
    return AllocateNamespaceText(pbstrNamespaceUri);
}

STDMETHODIMP PrintTicketProvider::ExpandIntentOptions(IXMLDOMDocument2* /*pPrintTicket*/) {
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::ValidatePrintTicket(IXMLDOMDocument2* pBaseTicket) {
    return pBaseTicket ? S_NO_CONFLICT : E_INVALIDARG;
}

} // namespace ptbridge
