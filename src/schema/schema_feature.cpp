#include "schema/schema_feature.h"

#include "schema/feature_container.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/wrapper_steps.h"

bool SchemaFeature::Rename(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    BSTR qname = nullptr;
    if (Helper()->MakeQName(namespaceUri, localName, &qname) != S_OK) {
        return false;
    }
    // A feature without a "name" attribute keeps having none.
    IXMLDOMAttribute* name = nullptr;
    if (Helper()->GetAttributeNode(Element(), W("name"), &name) != S_OK) {
        SysFreeString(qname);
        return false;
    }
    const HRESULT written = name->put_text(qname);
    name->Release();
    SysFreeString(qname);
    return written == S_OK;
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
    IXMLDOMElement* created = nullptr;
    if (Helper()->CreateProperty(Element(), namespaceUri, localName, &created) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), created);
}

SchemaOption* SchemaFeature::AddOption(const WCHAR* namespaceUri, const WCHAR* localName,
                                       const WCHAR* constrainedNamespaceUri,
                                       const WCHAR* constrainedLocalName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* created = nullptr;
    if (Helper()->CreateOption(Element(), namespaceUri, localName, constrainedNamespaceUri,
                               constrainedLocalName, &created) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), created);
}

SchemaOption* SchemaFeature::FindOption(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* found = nullptr;
    if (Helper()->FindOption(Element(), namespaceUri, localName, &found) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), found);
}

SchemaOption* SchemaFeature::FirstOption() {
    IXMLDOMElement* found = nullptr;
    if (Helper()->GetFirstOption(Element(), &found) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaOption>(Helper(), found);
}

bool SchemaFeature::RemoveOption(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    IXMLDOMElement* found = nullptr;
    if (Helper()->FindOption(Element(), namespaceUri, localName, &found) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), found);
}

bool SchemaFeature::RemoveFirstOption() {
    IXMLDOMElement* found = nullptr;
    if (Helper()->GetFirstOption(Element(), &found) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), found);
}
