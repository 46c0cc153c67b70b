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
    IXMLDOMElement* created = nullptr;
    if (helper->CreateFeature(parent, namespaceUri, localName, &created) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaFeature>(helper, created);
}

SchemaFeature* FindFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                           const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* found = nullptr;
    if (helper->FindFeature(parent, namespaceUri, localName, &found) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaFeature>(helper, found);
}

bool RemoveFeature(const SchemaNode& container, const WCHAR* namespaceUri, const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return false;
    }
    IXMLDOMElement* found = nullptr;
    if (helper->FindFeature(parent, namespaceUri, localName, &found) != S_OK) {
        return false;
    }
    return DetachFoundElement(helper, parent, found);
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
