#include "schema/feature_container.h"

#include "schema/schema_feature.h"
#include "schema/wrapper_steps.h"

namespace FeatureContainer {

SchemaFeature* AddFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                          const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (helper->CreateFeature(parent, namespaceUri, localName, created.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaFeature>(helper, std::move(created));
}

SchemaFeature* FindFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                           const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> found;
    if (helper->FindFeature(parent, namespaceUri, localName, found.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaFeature>(helper, std::move(found));
}

bool RemoveFeature(const SchemaNode& container, const WCHAR* namespaceUri, const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return false;
    }
    ComPtr<IXMLDOMElement> found;
    if (helper->FindFeature(parent, namespaceUri, localName, found.Put()) != S_OK) {
        return false;
    }
    return DetachFoundElement(helper, parent, std::move(found));
}

bool AppendFeature(const SchemaNode& container, const SchemaNode* feature) {
    if (feature == nullptr) {
        return false;
    }
    IXMLDOMElement* parent = container.Element();
    IXMLDOMElement* moved = feature->Element();
    if (parent == nullptr || moved == nullptr) {
        return false;
    }
    return parent->appendChild(moved, nullptr) == S_OK;
}

} // namespace FeatureContainer
