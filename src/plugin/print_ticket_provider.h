// The PrintTicket provider: reports the supported interface version and the
// plug-in's private namespace, keeps the core driver's helper, and rewrites the
// Print Schema documents the core driver hands in. The conversions and the
// mapping rules they run are defined in mapping/.
#pragma once

#include "common/oem_interfaces.h"

namespace ptbridge {

class SchemaDocument;

class PrintTicketProvider final : public IPrintOemPrintTicketProvider {
  public:
    PrintTicketProvider() = default;
    PrintTicketProvider(const PrintTicketProvider&) = delete;
    PrintTicketProvider& operator=(const PrintTicketProvider&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetSupportedVersions(HANDLE hPrinter, INT* ppVersions[], INT* pcVersions) override;
    STDMETHODIMP BindPrinter(HANDLE hPrinter, INT version, OEMPTOPTS* pOptions, INT* pcNamespaces,
                             BSTR** ppNamespaces) override;
    STDMETHODIMP PublishDriverInterface(IUnknown* pIUnknown) override;
    STDMETHODIMP QueryDeviceDefaultNamespace(BSTR* pbstrNamespaceUri) override;
    STDMETHODIMP ConvertPrintTicketToDevMode(IXMLDOMDocument2* pPrintTicket, ULONG cbDevmode,
                                             PDEVMODEW pDevmode, ULONG cbDrvPrivateSize,
                                             PVOID pPrivateDevmode) override;
    STDMETHODIMP ConvertDevModeToPrintTicket(ULONG cbDevmode, PDEVMODEW pDevmode,
                                             ULONG cbDrvPrivateSize, PVOID pPrivateDevmode,
                                             IXMLDOMDocument2* pPrintTicket) override;
    STDMETHODIMP CompletePrintCapabilities(IXMLDOMDocument2* pPrintTicket,
                                           IXMLDOMDocument2* pCapabilities) override;
    STDMETHODIMP ExpandIntentOptions(IXMLDOMDocument2* pPrintTicket) override;
    STDMETHODIMP ValidatePrintTicket(IXMLDOMDocument2* pBaseTicket) override;

    // The feature-mapping rules that the conversions run. Each edits the
    // wrapped document in place, keeps what it already changed when a later
    // step fails, and uses no state of the provider.

    // Renames the private "JobPresentationDirection" feature to the public
    // "PresentationDirection" and moves it under "JobNUpAllDocumentsContiguously".
    static bool PublishPresentationDirection(SchemaDocument* document);
    // The reverse: the private name again, as the last feature of the document.
    static bool RestorePresentationDirection(SchemaDocument* document);
    // Gives the known options of "JobOutputBin" their "BinType"; true whenever
    // the document has "JobOutputBin".
    static bool PublishOutputBinTypes(SchemaDocument* document);
    // Names the ticket's chosen output bin back from its "BinType" and drops it.
    static bool RestoreOutputBinOptions(SchemaDocument* document);
    // Appends the hole count the device options select to the first option of
    // "JobHolePunch".
    static bool PublishHoleCount(SchemaDocument* document, IPrintCoreHelper* coreHelper,
                                 DWORD cbDevmode, PDEVMODEW pDevmode);

  private:
    ~PrintTicketProvider() = default;

    // Allocates a BSTR holding PrivateNamespaceUri, its length exactly the URI's.
    static HRESULT AllocateNamespaceText(BSTR* text);

    volatile LONG referenceCount_ = 1;
    HANDLE boundPrinter_ = nullptr;
    IPrintCoreHelper* coreHelper_ = nullptr;
};

// The one interface version the provider supports.
constexpr INT SupportedProviderVersion = 1;

} // namespace ptbridge
