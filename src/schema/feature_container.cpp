#include "schema/feature_container.h"

#include "schema/schema_feature.h"
#include "schema/wrapper_steps.h"

#include <utility>

namespace ptbridge {

namespace {

// A helper step that hands back the named feature under a parent: the
// helper's CreateFeature or FindFeature.
using FeatureStep = HRESULT (PrintSchemaDomHelper::*)(IXMLDOMElement* parent,
                                                      const WCHAR* nameNamespaceUri,
                                                      const WCHAR* nameLocalName,
                                                      IXMLDOMElement** feature);

// Takes `step` for the named feature of the container: the element it hands
// back, with its reference, or null. Nothing is done when a name is missing
// or the container has no document behind it.
ComPtr<IXMLDOMElement> TakeFeatureStep(const SchemaNode& container, FeatureStep step,
                                       const WCHAR* namespaceUri, const WCHAR* localName) {
    PrintSchemaDomHelper* helper = container.Helper();
    IXMLDOMElement* parent = container.Element();
    ComPtr<IXMLDOMElement> feature;
    if (namespaceUri == nullptr || localName == nullptr || helper == nullptr || parent == nullptr) {
        return feature;
    }
    if ((helper->*step)(parent, namespaceUri, localName, feature.Put()) != S_OK) {
        feature.Reset();
    }
    return feature;
}

} // namespace

namespace FeatureContainer {

SchemaFeature* AddFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                          const WCHAR* localName) {
    ComPtr<IXMLDOMElement> created =
        TakeFeatureStep(container, &PrintSchemaDomHelper::CreateFeature, namespaceUri, localName);
    return created ? WrapFoundElement<SchemaFeature>(container.Helper(), std::move(created))
                   : nullptr;
}

SchemaFeature* FindFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                           const WCHAR* localName) {
    ComPtr<IXMLDOMElement> found =
        TakeFeatureStep(container, &PrintSchemaDomHelper::FindFeature, namespaceUri, localName);
    return found ? WrapFoundElement<SchemaFeature>(container.Helper(), std::move(found)) : nullptr;
}

bool RemoveFeature(const SchemaNode& container, const WCHAR* namespaceUri, const WCHAR* localName) {
    ComPtr<IXMLDOMElement> found =
        TakeFeatureStep(container, &PrintSchemaDomHelper::FindFeature, namespaceUri, localName);
    return found && DetachFoundElement(container.Helper(), container.Element(), std::move(found));
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

} // namespace ptbridge
