// Where the plug-in's matching by text would act on something the document's
// author did not mean: the rules compare names as QNames made with the root
// element's prefixes, append where a value is already present and edit only
// the first of several features. `check` lists these beside the requirements.
#pragma once

#include "schema_reader.h"

#include <string>
#include <vector>

namespace ptbridge {

struct Finding {
    int line = 0; // 0 when unknown
    std::string text;
};

// The warnings for a document open in `reader`: `publishing` when it is
// checked for a conversion that publishes (ticket, capabilities), `ticket`
// when it is a PrintTicket, whose hole-punch feature the rules also edit.
std::vector<Finding> ReadMatchingWarnings(SchemaReader& reader,
                                          const std::u16string& privateNamespace, bool publishing,
                                          bool ticket);

// Namespaces the root element declares that look like a driver's private one
// (none of the public Print Schema or XML Schema namespaces) while the
// plug-in's own is not declared: a ticket captured from another driver, which
// --private-namespace lets the plug-in read.
std::vector<Finding> SuggestPrivateNamespace(SchemaReader& reader,
                                             const std::u16string& privateNamespace);

} // namespace ptbridge
