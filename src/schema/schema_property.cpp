#include "schema/schema_property.h"

#include "common/namespaces.h"
#include "schema/schema_value.h"
#include "schema/wrapper_steps.h"

#include <utility>

namespace ptbridge {

SchemaValue* SchemaProperty::AddStringValue(const WCHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateValue(Element(), XsdNamespaceUri, W("string"), text, created.Put()) !=
        S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), std::move(created));
}

SchemaValue* SchemaProperty::AddQNameValue(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (localName == nullptr) {
        return nullptr;
    }
    UniqueBstr qname;
    if (Helper()->MakeQName(namespaceUri, localName, qname.Put()) != S_OK) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateValue(Element(), XsdNamespaceUri, W("QName"), qname.Get(), created.Put()) !=
        S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), std::move(created));
}

SchemaValue* SchemaProperty::AddIntegerValue(LONG value) {
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateIntegerValue(Element(), XsdNamespaceUri, W("integer"), value,
                                     created.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), std::move(created));
}

SchemaValue* SchemaProperty::FirstValue() {
    ComPtr<IXMLDOMElement> found;
    if (Helper()->GetFirstValue(Element(), found.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaValue>(Helper(), std::move(found));
}

bool SchemaProperty::RemoveFirstValue() {
    ComPtr<IXMLDOMElement> found;
    if (Helper()->GetFirstValue(Element(), found.Put()) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), std::move(found));
}

} // namespace ptbridge
