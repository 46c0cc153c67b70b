#include "schema/schema_property.h"

#include "common/namespaces.h"
#include "schema/schema_value.h"
#include "schema/wrapper_steps.h"

SchemaValue* SchemaProperty::AddStringValue(const WCHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* created = nullptr;
    if (Helper()->CreateValue(Element(), XsdNamespaceUri, W("string"), text, &created) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), created);
}

SchemaValue* SchemaProperty::AddQNameValue(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (localName == nullptr) {
        return nullptr;
    }
    BSTR qname = nullptr;
    if (Helper()->MakeQName(namespaceUri, localName, &qname) != S_OK) {
        return nullptr;
    }
    IXMLDOMElement* created = nullptr;
    const HRESULT result =
        Helper()->CreateValue(Element(), XsdNamespaceUri, W("QName"), qname, &created);
    SysFreeString(qname);
    if (result != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), created);
}

SchemaValue* SchemaProperty::AddIntegerValue(LONG value) {
    IXMLDOMElement* created = nullptr;
    if (Helper()->CreateIntegerValue(Element(), XsdNamespaceUri, W("integer"), value, &created) !=
        S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), created);
}

SchemaValue* SchemaProperty::FirstValue() {
    IXMLDOMElement* found = nullptr;
    if (Helper()->GetFirstValue(Element(), &found) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), found);
}

bool SchemaProperty::RemoveFirstValue() {
    IXMLDOMElement* found = nullptr;
    if (Helper()->GetFirstValue(Element(), &found) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), found);
}
