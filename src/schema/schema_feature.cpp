#include "schema/schema_feature.h"

#include "schema/feature_container.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/wrapper_steps.h"

#include <utility>

namespace ptbridge {

bool SchemaFeature::Rename(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    UniqueBstr qname;
    if (Helper()->MakeQName(namespaceUri, localName, qname.Put()) != S_OK) {
        return false;
    }
    // A feature without a "name" attribute keeps having none.
    ComPtr<IXMLDOMAttribute> name;
    if (Helper()->GetAttributeNode(Element(), W("name"), name.Put()) != S_OK) {
        return false;
    }
    return name->put_text(qname.Get()) == S_OK;
}

SchemaFeature* SchemaFeature::AddFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::AddFeature(*this, namespaceUri, localName);
}

SchemaFeature* SchemaFeature::FindFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::FindFeature(*this, namespaceUri, localName);
}

bool SchemaFeature::RemoveFeature(const WCHAR* namespaceUri, const WCHAR* localName) {
    return FeatureContainer::RemoveFeature(*this, namespaceUri, localName);
}

bool SchemaFeature::AppendFeature(SchemaNode* feature) {
    return FeatureContainer::AppendFeature(*this, feature);
}

SchemaProperty* SchemaFeature::AddProperty(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateProperty(Element(), namespaceUri, localName, created.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), std::move(created));
}

SchemaOption* SchemaFeature::AddOption(const WCHAR* namespaceUri, const WCHAR* localName,
                                       const WCHAR* constrainedNamespaceUri,
                                       const WCHAR* constrainedLocalName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateOption(Element(), namespaceUri, localName, constrainedNamespaceUri,
                               constrainedLocalName, created.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), std::move(created));
}

SchemaOption* SchemaFeature::FindOption(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> found;
    if (Helper()->FindOption(Element(), namespaceUri, localName, found.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), std::move(found));
}

SchemaOption* SchemaFeature::FirstOption() {
    ComPtr<IXMLDOMElement> found;
    if (Helper()->GetFirstOption(Element(), found.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), std::move(found));
}

bool SchemaFeature::RemoveOption(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    ComPtr<IXMLDOMElement> found;
    if (Helper()->FindOption(Element(), namespaceUri, localName, found.Put()) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), std::move(found));
}

bool SchemaFeature::RemoveFirstOption() {
    ComPtr<IXMLDOMElement> found;
    if (Helper()->GetFirstOption(Element(), found.Put()) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), std::move(found));
}

} // namespace ptbridge
