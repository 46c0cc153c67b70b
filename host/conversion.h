// The three conversions the command runs, and what each expects of its input.
#pragma once

namespace ptbridge {

enum class Conversion {
    DevModeToPrintTicket, // ticket
    CompleteCapabilities, // capabilities
    PrintTicketToDevMode, // devmode
};

// The command that runs the conversion: "ticket", "capabilities" or "devmode".
const char* CommandName(Conversion conversion);
// The provider method that performs the conversion, e.g. "ConvertDevModeToPrintTicket".
const char* MethodName(Conversion conversion);
// The local name of the root element the conversion takes: "PrintTicket" or
// "PrintCapabilities" (in the Print Schema framework namespace).
const char* RootElementName(Conversion conversion);

} // namespace ptbridge
