// Drives the plug-in's three conversion methods the way the ptbridge command
// does: one host session with the built module, and one DEVMODE that selects
// two punched holes.
#pragma once

#include "conversion.h"
#include "document_generator.h"
#include "host_session.h"

#include <string>

namespace ptbridge {

constexpr Conversion AllConversions[] = {Conversion::CompleteCapabilities,
                                         Conversion::DevModeToPrintTicket,
                                         Conversion::PrintTicketToDevMode};

// The kind of document the conversion takes.
DocumentKind InputKind(Conversion conversion);

class ConversionDriver {
  public:
    // Opens the session; false with *error set when the module will not load.
    bool Open(const std::string& modulePath, std::string* error);
    // The plug-in's result for the conversion of `document`, edited in place.
    HRESULT Run(Conversion conversion, IXMLDOMDocument2* document);

  private:
    HostSession session_;
    HostDevmode devmode_;
};

} // namespace ptbridge
