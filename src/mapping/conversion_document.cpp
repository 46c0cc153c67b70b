#include "mapping/conversion_document.h"

#include <new>
#include <utility>

namespace ptbridge {

HRESULT OpenConversionDocument(IXMLDOMDocument2* xml, IPrintCoreHelper* coreHelper,
                               std::unique_ptr<SchemaDocument>* document) {
    document->reset();
    if (!coreHelper)
        return E_FAIL;
    std::unique_ptr<SchemaDocument> opened(new (std::nothrow) SchemaDocument(xml, coreHelper));
    if (!opened)
        return E_OUTOFMEMORY;
    HRESULT hr = opened->OpenResult();
    if (hr != S_OK)
        return hr;
    *document = std::move(opened);
    return S_OK;
}

} // namespace ptbridge
