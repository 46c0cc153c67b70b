#include "schema/schema_document.h"

#include "schema/feature_container.h"
#include "xml/print_schema_dom_helper.h"

#include <new>

namespace ptbridge {

SchemaDocument::SchemaDocument(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper) {
    auto* helper = new (std::nothrow) PrintSchemaDomHelper(document, coreHelper);
    if (!helper) {
        openResult_ = E_OUTOFMEMORY;
        return;
    }
    // A helper whose initialisation failed has no root element; the document
    // then stays empty rather than wrap nothing.
    ComPtr<IXMLDOMElement> root;
    HRESULT hr = helper->InitialResult();
    if (hr == S_OK)
        hr = helper->GetRootElement(root.Put());
    if (hr != S_OK) {
        openResult_ = FAILED(hr) ? hr : E_FAIL;
        delete helper;
        return;
    }
    SetHelper(helper);
    AdoptElement(root.Detach());
    openResult_ = S_OK;
}

SchemaDocument::~SchemaDocument() {
    delete Helper();
}

SchemaFeature* SchemaDocument::AddFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::AddFeature(*this, namespaceUri, localName);
}

SchemaFeature* SchemaDocument::FindFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::FindFeature(*this, namespaceUri, localName);
}

bool SchemaDocument::RemoveFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::RemoveFeature(*this, namespaceUri, localName);
}

bool SchemaDocument::AppendFeature(SchemaNode* feature) {
    return FeatureContainer::AppendFeature(*this, feature);
}

} // namespace ptbridge
