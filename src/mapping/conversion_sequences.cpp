// The three conversions of the PrintTicket provider: each opens the host's
// document and runs the mapping rules on it in the order the conversion needs.
#include "plugin/print_ticket_provider.h"

#include "mapping/conversion_document.h"

#include <memory>

namespace ptbridge {

STDMETHODIMP PrintTicketProvider::ConvertPrintTicketToDevMode(IXMLDOMDocument2* pPrintTicket,
                                                              ULONG cbDevmode, PDEVMODEW pDevmode,
                                                              ULONG cbDrvPrivateSize,
                                                              PVOID pPrivateDevmode) {
    if (cbDevmode == 0 || !pDevmode || !pPrintTicket || cbDrvPrivateSize == 0 || !pPrivateDevmode)
        return E_INVALIDARG;
    std::unique_ptr<SchemaDocument> document;
    HRESULT hr = OpenConversionDocument(pPrintTicket, coreHelper_, &document);
    if (hr != S_OK)
        return hr;
    // What could not be restored stays as the ticket has it: the core driver
    // reads the rest of the ticket all the same.
    RestorePresentationDirection(document.get());
    RestoreOutputBinOptions(document.get());
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::ConvertDevModeToPrintTicket(ULONG cbDevmode, PDEVMODEW pDevmode,
                                                              ULONG cbDrvPrivateSize,
                                                              PVOID pPrivateDevmode,
                                                              IXMLDOMDocument2* pPrintTicket) {
    if (cbDevmode == 0 || !pDevmode || cbDrvPrivateSize == 0 || !pPrivateDevmode || !pPrintTicket)
        return E_INVALIDARG;
    std::unique_ptr<SchemaDocument> document;
    HRESULT hr = OpenConversionDocument(pPrintTicket, coreHelper_, &document);
    if (hr != S_OK)
        return hr;
    if (!PublishPresentationDirection(document.get()) || !PublishOutputBinTypes(document.get()) ||
        !PublishHoleCount(document.get(), coreHelper_, cbDevmode, pDevmode))
        return E_FAIL;
    return S_OK;
}

STDMETHODIMP PrintTicketProvider::CompletePrintCapabilities(IXMLDOMDocument2* /*pPrintTicket*/,
                                                            IXMLDOMDocument2* pCapabilities) {
    if (!pCapabilities)
        return E_INVALIDARG;
    std::unique_ptr<SchemaDocument> document;
    HRESULT hr = OpenConversionDocument(pCapabilities, coreHelper_, &document);
    if (hr != S_OK)
        return hr;
    if (!PublishPresentationDirection(document.get()) || !PublishOutputBinTypes(document.get()))
        return E_FAIL;
    return S_OK;
}

} // namespace ptbridge
