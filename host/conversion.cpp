#include "conversion.h"

namespace ptbridge {

const char* CommandName(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return "capabilities";
    case Conversion::PrintTicketToDevMode:
        return "devmode";
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return "ticket";
}

const char* MethodName(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return "CompletePrintCapabilities";
    case Conversion::PrintTicketToDevMode:
        return "ConvertPrintTicketToDevMode";
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return "ConvertDevModeToPrintTicket";
}

const char* RootElementName(Conversion conversion) {
    return conversion == Conversion::CompleteCapabilities ? "PrintCapabilities" : "PrintTicket";
}

} // namespace ptbridge
