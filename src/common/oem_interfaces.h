// The core printer driver's plug-in interfaces and records, declared by the
// plug-in itself for every build. Slot orders and layouts are those of Windows.
#pragma once

#include "common/platform.h"

// Result codes of the plug-in interfaces.
#define E_VERSION_NOT_SUPPORTED ((HRESULT)0x80040001)
#define S_NO_CONFLICT ((HRESULT)0x00040001)

// IPrintOemUI2::GetInfo modes.
#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5

// Helper interfaces a plug-in may ask the core driver for.
#define OEMPUBLISH_DEFAULT 0
#define OEMPUBLISH_IPRINTCOREHELPER 1

// IPrintOemUI2::DevMode modes.
#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

typedef enum tagOEMPTOPTS { OEMPT_DEFAULT = 0, OEMPT_NOSNAPSHOT = 1 } OEMPTOPTS;

// The record the core driver passes to IPrintOemUI2::DevMode.
typedef struct _OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

// Header that starts every plug-in section of a DEVMODE's driver-private area.
typedef struct _OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _PRINT_FEATURE_OPTION {
    PCSTR pszFeature;
    PCSTR pszOption;
} PRINT_FEATURE_OPTION, *PPRINT_FEATURE_OPTION;

// Records the user-interface hooks receive; the plug-in never looks inside them.
struct _OEMCUIPPARAM;
struct _PROPSHEETUI_INFO;
struct _OEMUIOBJ;
struct _DEVQUERYPRINT_INFO;

// Held by the user-interface plug-in, never called.
struct IPrintOemDriverUI : IUnknown {};

struct IPrintCoreHelper : IUnknown {
    STDMETHOD(GetOption)
    (const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureRequested, PCSTR* ppszOption) = 0;
    STDMETHOD(SetOptions)
    (DEVMODEW* pDevmode, DWORD cbSize, BOOL bResolveConflicts, const PRINT_FEATURE_OPTION* pFOPairs,
     DWORD cPairs, DWORD* pcPairsWritten, DWORD* pdwResult) = 0;
    STDMETHOD(EnumConstrainedOptions)
    (const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureKeyword,
     PCSTR** pConstrainedOptionList, DWORD* pdwNumOptions) = 0;
    STDMETHOD(WhyConstrained)
    (const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword,
     const PRINT_FEATURE_OPTION** ppFOConstraints, DWORD* pdwNumOptions) = 0;
    STDMETHOD(EnumFeatures)(PCSTR** pFeatureList, DWORD* pdwNumFeatures) = 0;
    STDMETHOD(EnumOptions)(PCSTR pszFeatureKeyword, PCSTR** pOptionList, DWORD* pdwNumOptions) = 0;
    STDMETHOD(GetFontSubstitution)(PCWSTR pszTrueTypeFontName, PCWSTR* ppszDevFontName) = 0;
    STDMETHOD(SetFontSubstitution)(PCWSTR pszTrueTypeFontName, PCWSTR pszDevFontName) = 0;
    STDMETHOD(CreateInstanceOfMSXMLObject)
    (REFCLSID rclsid, IUnknown* punkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) = 0;
};

struct IPrintOemUI2 : IUnknown {
    STDMETHOD(GetInfo)(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) = 0;
    STDMETHOD(DevMode)(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
    STDMETHOD(PublishDriverInterface)(IUnknown* pIUnknown) = 0;
    STDMETHOD(CommonUIProp)(DWORD dwMode, _OEMCUIPPARAM* pOemCUIPParam) = 0;
    STDMETHOD(DocumentPropertySheets)(_PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) = 0;
    STDMETHOD(DevicePropertySheets)(_PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) = 0;
    STDMETHOD(DevQueryPrintEx)
    (_OEMUIOBJ* poemuiobj, _DEVQUERYPRINT_INFO* pDQPInfo, PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
    STDMETHOD(DeviceCapabilities)
    (_OEMUIOBJ* poemuiobj, HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput,
     PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld, DWORD* dwResult) = 0;
    STDMETHOD(UpgradePrinter)(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
    STDMETHOD(PrinterEvent)(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) = 0;
    STDMETHOD(DriverEvent)
    (DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) = 0;
    STDMETHOD(QueryColorProfile)
    (HANDLE hPrinter, _OEMUIOBJ* poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode,
     VOID* pvProfileData, ULONG* pcbProfileData, FLONG* pflProfileData) = 0;
    STDMETHOD(FontInstallerDlgProc)(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) = 0;
    STDMETHOD(UpdateExternalFonts)(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) = 0;
    STDMETHOD(QueryJobAttributes)
    (HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel, LPBYTE lpAttributeInfo) = 0;
    STDMETHOD(HideStandardUI)(DWORD dwMode) = 0;
    STDMETHOD(DocumentEvent)
    (HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
     PINT piResult) = 0;
};

struct IPrintOemPrintTicketProvider : IUnknown {
    STDMETHOD(GetSupportedVersions)(HANDLE hPrinter, INT* ppVersions[], INT* cVersions) = 0;
    STDMETHOD(BindPrinter)
    (HANDLE hPrinter, INT version, OEMPTOPTS* pOptions, INT* pcNamespaces, BSTR** ppNamespaces) = 0;
    STDMETHOD(PublishDriverInterface)(IUnknown* pIUnknown) = 0;
    STDMETHOD(QueryDeviceDefaultNamespace)(BSTR* pbstrNamespaceUri) = 0;
    STDMETHOD(ConvertPrintTicketToDevMode)
    (IXMLDOMDocument2* pPrintTicket, ULONG cbDevmode, PDEVMODEW pDevmode, ULONG cbDrvPrivateSize,
     PVOID pPrivateDevmode) = 0;
    STDMETHOD(ConvertDevModeToPrintTicket)
    (ULONG cbDevmode, PDEVMODEW pDevmode, ULONG cbDrvPrivateSize, PVOID pPrivateDevmode,
     IXMLDOMDocument2* pPrintTicket) = 0;
    STDMETHOD(CompletePrintCapabilities)
    (IXMLDOMDocument2* pPrintTicket, IXMLDOMDocument2* pCapabilities) = 0;
    STDMETHOD(ExpandIntentOptions)(IXMLDOMDocument2* pPrintTicket) = 0;
    STDMETHOD(ValidatePrintTicket)(IXMLDOMDocument2* pBaseTicket) = 0;
};

// Class identifiers the module serves, and the interface identifiers above.
EXTERN_C const CLSID CLSID_OEMUI;
EXTERN_C const CLSID CLSID_OEMPTPROVIDER;
EXTERN_C const IID IID_IPrintOemUI2;
EXTERN_C const IID IID_IPrintOemPrintTicketProvider;
EXTERN_C const IID IID_IPrintCoreHelper;
EXTERN_C const IID IID_IPrintOemDriverUI;
