#include "schema/schema_option.h"

#include "common/namespaces.h"
#include "schema/caller_buffer.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"
#include "schema/wrapper_steps.h"

#include <memory>

namespace {

const WCHAR* const NameAttribute = W("name");
const WCHAR* const OptionNameProperty = W("OptionName");

} // namespace

SchemaProperty* SchemaOption::AddScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* created = nullptr;
    if (Helper()->CreateScoredProperty(Element(), namespaceUri, localName, &created) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), created);
}

SchemaProperty* SchemaOption::FindScoredProperty(const WCHAR* namespaceUri,
                                                 const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    IXMLDOMElement* found = nullptr;
    if (Helper()->FindScoredProperty(Element(), namespaceUri, localName, &found) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), found);
}

bool SchemaOption::RemoveScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    IXMLDOMElement* found = nullptr;
    if (Helper()->FindScoredProperty(Element(), namespaceUri, localName, &found) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), found);
}

bool SchemaOption::GetName(WCHAR* buffer, ULONG* capacity) {
    IXMLDOMAttribute* name = nullptr;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, &name) == S_OK) {
        BSTR text = nullptr;
        bool copied = false;
        if (name->get_text(&text) == S_OK) {
            copied = CopyToCallerBuffer(text, buffer, capacity);
        }
        SysFreeString(text);
        name->Release();
        return copied;
    }

    // Without a "name" attribute the option is named by the first value of
    // its "OptionName" scored property.
    std::unique_ptr<SchemaProperty> optionName(
        FindScoredProperty(FrameworkNamespaceUri, OptionNameProperty));
    if (!optionName) {
        return false;
    }
    std::unique_ptr<SchemaValue> value(optionName->FirstValue());
    if (!value) {
        return false;
    }
    return value->GetText(buffer, capacity);
}

bool SchemaOption::GetNameParts(BSTR* namespaceUri, BSTR* localName) {
    *namespaceUri = nullptr;
    *localName = nullptr;
    IXMLDOMAttribute* name = nullptr;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, &name) != S_OK) {
        return false;
    }
    BSTR text = nullptr;
    HRESULT result = name->get_text(&text);
    if (result == S_OK) {
        result = Helper()->ResolveQNameNamespace(Element(), text, namespaceUri);
    }
    if (result == S_OK) {
        result = Helper()->LocalPartOf(text, localName);
    }
    name->Release();
    SysFreeString(text);
    if (result == S_OK) {
        return true;
    }
    SysFreeString(*namespaceUri);
    SysFreeString(*localName);
    *namespaceUri = nullptr;
    *localName = nullptr;
    return false;
}

bool SchemaOption::Rename(const WCHAR* namespaceUri, const WCHAR* localName) {
    IXMLDOMAttribute* name = nullptr;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, &name) == S_OK) {
        BSTR qname = nullptr;
        HRESULT result = Helper()->MakeQName(namespaceUri, localName, &qname);
        if (result == S_OK) {
            result = name->put_text(qname);
        }
        SysFreeString(qname);
        name->Release();
        return result == S_OK;
    }

    // The option is named by its "OptionName" scored property (or not at
    // all): it gets a "name" attribute, and the scored property would now
    // contradict it, so it goes. An option without one is renamed all the same.
    if (Helper()->CreateQNameAttribute(Element(), FrameworkNamespaceUri, NameAttribute,
                                       namespaceUri, localName, nullptr) != S_OK) {
        return false;
    }
    RemoveScoredProperty(FrameworkNamespaceUri, OptionNameProperty);
    return true;
}
