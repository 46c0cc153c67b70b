// The user-interface plug-in: identifies the plug-in to the core driver, keeps
// its private devmode section and holds the host interfaces it is given.
#pragma once

#include "common/oem_interfaces.h"

namespace ptbridge {

class OemUIPlugin final : public IPrintOemUI2 {
  public:
    OemUIPlugin() = default;
    OemUIPlugin(const OemUIPlugin&) = delete;
    OemUIPlugin& operator=(const OemUIPlugin&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
    STDMETHODIMP DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;
    STDMETHODIMP PublishDriverInterface(IUnknown* pIUnknown) override;
    STDMETHODIMP CommonUIProp(DWORD dwMode, _OEMCUIPPARAM* pOemCUIPParam) override;
    STDMETHODIMP DocumentPropertySheets(_PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevicePropertySheets(_PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevQueryPrintEx(_OEMUIOBJ* poemuiobj, _DEVQUERYPRINT_INFO* pDQPInfo,
                                 PDEVMODEW pPublicDM, PVOID pOEMDM) override;
    STDMETHODIMP DeviceCapabilities(_OEMUIOBJ* poemuiobj, HANDLE hPrinter, PWSTR pDeviceName,
                                    WORD wCapability, PVOID pOutput, PDEVMODEW pPublicDM,
                                    PVOID pOEMDM, DWORD dwOld, DWORD* dwResult) override;
    STDMETHODIMP UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
    STDMETHODIMP PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                              LPARAM lParam) override;
    STDMETHODIMP DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                             LPARAM lParam) override;
    STDMETHODIMP QueryColorProfile(HANDLE hPrinter, _OEMUIOBJ* poemuiobj, PDEVMODEW pPublicDM,
                                   PVOID pOEMDM, ULONG ulQueryMode, VOID* pvProfileData,
                                   ULONG* pcbProfileData, FLONG* pflProfileData) override;
    STDMETHODIMP FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) override;
    STDMETHODIMP UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) override;
    STDMETHODIMP QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel,
                                    LPBYTE lpAttributeInfo) override;
    STDMETHODIMP HideStandardUI(DWORD dwMode) override;
    STDMETHODIMP DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn,
                               ULONG cbOut, PVOID pvOut, PINT piResult) override;

  private:
    ~OemUIPlugin() = default;

    volatile LONG referenceCount_ = 1;
    IPrintOemDriverUI* driverUI_ = nullptr;
    IPrintCoreHelper* coreHelper_ = nullptr;
};

} // namespace ptbridge
