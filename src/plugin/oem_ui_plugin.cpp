#include "plugin/oem_ui_plugin.h"

#include "plugin/private_devmode.h"

namespace ptbridge {

namespace {
// Asks `source` for `iid` into `held`. A refused query leaves `held` null.
template <typename Interface> HRESULT QueryInto(IUnknown* source, REFIID iid, Interface*& held) {
    HRESULT hr = source->QueryInterface(iid, reinterpret_cast<void**>(&held));
    if (FAILED(hr))
        held = nullptr;
    return hr;
}

HRESULT FailWithLastError(DWORD error) {
    SetLastError(error);
    return E_FAIL;
}
} // namespace

STDMETHODIMP OemUIPlugin::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IPrintOemUI2)) {
        *ppv = static_cast<IPrintOemUI2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) OemUIPlugin::AddRef() {
    return InterlockedIncrement(&referenceCount_);
}

STDMETHODIMP_(ULONG) OemUIPlugin::Release() {
    LONG count = InterlockedDecrement(&referenceCount_);
    if (count == 0) {
        // Written out because the order is fixed: the driver UI first, then the core helper.
        if (driverUI_)
            driverUI_->Release();
        if (coreHelper_)
            coreHelper_->Release();
        delete this;
    }
    return count;
}

STDMETHODIMP OemUIPlugin::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    bool knownMode = dwMode == OEMGI_GETSIGNATURE || dwMode == OEMGI_GETVERSION ||
                     dwMode == OEMGI_GETPUBLISHERINFO ||
                     dwMode == OEMGI_GETREQUESTEDHELPERINTERFACES;
    if (!pcbNeeded || !knownMode)
        return FailWithLastError(ERROR_INVALID_PARAMETER);

    *pcbNeeded = sizeof(DWORD);
    if (cbSize < sizeof(DWORD) || !pBuffer)
        return FailWithLastError(ERROR_INSUFFICIENT_BUFFER);

    DWORD* answer = static_cast<DWORD*>(pBuffer);
    switch (dwMode) {
    case OEMGI_GETSIGNATURE:
        *answer = PrivateDevmodeSignature;
        return S_OK;
    case OEMGI_GETVERSION:
        *answer = PrivateDevmodeVersion;
        return S_OK;
    case OEMGI_GETREQUESTEDHELPERINTERFACES:
        *answer = OEMPUBLISH_IPRINTCOREHELPER;
        return S_OK;
    default: // OEMGI_GETPUBLISHERINFO
        *pcbNeeded = 0;
        return FailWithLastError(ERROR_NOT_SUPPORTED);
    }
}

STDMETHODIMP OemUIPlugin::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    bool knownMode = dwMode == OEMDM_SIZE || dwMode == OEMDM_DEFAULT || dwMode == OEMDM_CONVERT ||
                     dwMode == OEMDM_MERGE;
    if (!pOemDMParam || !knownMode)
        return FailWithLastError(ERROR_INVALID_PARAMETER);

    auto* in = static_cast<const OemPrivateDevmode*>(pOemDMParam->pOEMDMIn);
    auto* out = static_cast<OemPrivateDevmode*>(pOemDMParam->pOEMDMOut);
    switch (dwMode) {
    case OEMDM_SIZE:
        pOemDMParam->cbBufSize = PrivateDevmodeSize;
        return S_OK;
    case OEMDM_DEFAULT:
        if (!out)
            return FailWithLastError(ERROR_INVALID_PARAMETER);
        WriteDefaultPrivateDevmode(out);
        return S_OK;
    case OEMDM_CONVERT:
        ConvertPrivateDevmode(in, out);
        return S_OK;
    default: // OEMDM_MERGE: whatever `in` held, a merge leaves the default header.
        ConvertPrivateDevmode(in, out);
        if (out)
            WriteDefaultPrivateDevmode(out);
        return S_OK;
    }
}

STDMETHODIMP OemUIPlugin::PublishDriverInterface(IUnknown* pIUnknown) {
    if (!pIUnknown)
        return E_INVALIDARG;
    HRESULT hr = E_FAIL;
    if (!coreHelper_)
        hr = QueryInto(pIUnknown, IID_IPrintCoreHelper, coreHelper_);
    if (!driverUI_ && FAILED(hr))
        hr = QueryInto(pIUnknown, IID_IPrintOemDriverUI, driverUI_);
    return hr;
}

STDMETHODIMP OemUIPlugin::CommonUIProp(DWORD, _OEMCUIPPARAM*) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::DocumentPropertySheets(_PROPSHEETUI_INFO*, LPARAM) {
    return S_OK;
}

STDMETHODIMP OemUIPlugin::DevicePropertySheets(_PROPSHEETUI_INFO*, LPARAM) {
    return S_OK;
}

STDMETHODIMP OemUIPlugin::DevQueryPrintEx(_OEMUIOBJ*, _DEVQUERYPRINT_INFO*, PDEVMODEW, PVOID) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::DeviceCapabilities(_OEMUIOBJ*, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                             PVOID, DWORD, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::UpgradePrinter(DWORD, PBYTE) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::PrinterEvent(PWSTR, INT, DWORD, LPARAM) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::QueryColorProfile(HANDLE, _OEMUIOBJ*, PDEVMODEW, PVOID, ULONG, VOID*,
                                            ULONG*, FLONG*) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::HideStandardUI(DWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUIPlugin::DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, PINT) {
    return E_NOTIMPL;
}

} // namespace ptbridge
