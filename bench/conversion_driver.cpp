#include "conversion_driver.h"

#include "hresult_names.h"

namespace ptbridge {

DocumentKind InputKind(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return DocumentKind::Capabilities;
    case Conversion::DevModeToPrintTicket:
        return DocumentKind::Ticket;
    case Conversion::PrintTicketToDevMode:
        break;
    }
    return DocumentKind::PublishedTicket;
}

bool ConversionDriver::Open(const std::string& modulePath, std::string* error) {
    if (session_.Open(modulePath, error) != OpenStatus::Opened)
        return false;
    HRESULT hr =
        HostDevmode::Build({{"PunchHole", "2Holes"}}, session_.PluginSectionSize(), &devmode_);
    if (hr == S_OK)
        hr = session_.WriteDefaultPluginSection(devmode_);
    if (hr != S_OK)
        *error = "cannot build the DEVMODE: " + DescribeHResult(hr);
    return hr == S_OK;
}

HRESULT ConversionDriver::Run(Conversion conversion, IXMLDOMDocument2* document) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return session_.CompletePrintCapabilities(nullptr, document);
    case Conversion::DevModeToPrintTicket:
        return session_.ConvertDevModeToPrintTicket(devmode_, document);
    case Conversion::PrintTicketToDevMode:
        break;
    }
    return session_.ConvertPrintTicketToDevMode(document, devmode_);
}

} // namespace ptbridge
