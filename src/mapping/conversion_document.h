// Opens the host's document for one conversion call of the PrintTicket provider.
#pragma once

#include "common/oem_interfaces.h"
#include "schema/schema_document.h"

#include <memory>

namespace ptbridge {

// S_OK with the document wrapped and ready for the mapping rules. Otherwise no
// rule may run and the result is the conversion's: E_FAIL when no core helper
// is held, E_OUTOFMEMORY when the wrapper cannot be allocated, and the cause's
// own failure code when the document cannot be opened (SchemaDocument::OpenResult).
HRESULT OpenConversionDocument(IXMLDOMDocument2* xml, IPrintCoreHelper* coreHelper,
                               std::unique_ptr<SchemaDocument>* document);

} // namespace ptbridge
