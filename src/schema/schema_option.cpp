#include "schema/schema_option.h"

#include "common/namespaces.h"
#include "schema/caller_buffer.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"
#include "schema/wrapper_steps.h"

#include <memory>
#include <utility>

namespace ptbridge {

namespace {

const WCHAR* const NameAttribute = W("name");
const WCHAR* const OptionNameProperty = W("OptionName");

} // namespace

SchemaProperty* SchemaOption::AddScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> created;
    if (Helper()->CreateScoredProperty(Element(), namespaceUri, localName, created.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), std::move(created));
}

SchemaProperty* SchemaOption::FindScoredProperty(const WCHAR* namespaceUri,
                                                 const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return nullptr;
    }
    ComPtr<IXMLDOMElement> found;
    if (Helper()->FindScoredProperty(Element(), namespaceUri, localName, found.Put()) != S_OK) {
        return nullptr;
    }
    return WrapFoundElement<SchemaProperty>(Helper(), std::move(found));
}

bool SchemaOption::RemoveScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName) {
    if (namespaceUri == nullptr || localName == nullptr) {
        return false;
    }
    ComPtr<IXMLDOMElement> found;
    if (Helper()->FindScoredProperty(Element(), namespaceUri, localName, found.Put()) != S_OK) {
        return false;
    }
    return DetachFoundElement(Helper(), Element(), std::move(found));
}

bool SchemaOption::GetName(WCHAR* buffer, ULONG* capacity) {
    ComPtr<IXMLDOMAttribute> name;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, name.Put()) == S_OK) {
        UniqueBstr text;
        if (name->get_text(text.Put()) != S_OK) {
            return false;
        }
        return CopyToCallerBuffer(text.Get(), buffer, capacity);
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
    ComPtr<IXMLDOMAttribute> name;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, name.Put()) != S_OK) {
        return false;
    }
    UniqueBstr text;
    UniqueBstr uri;
    UniqueBstr local;
    if (name->get_text(text.Put()) != S_OK ||
        Helper()->ResolveQNameNamespace(Element(), text.Get(), uri.Put()) != S_OK ||
        Helper()->LocalPartOf(text.Get(), local.Put()) != S_OK) {
        return false;
    }
    *namespaceUri = uri.Detach();
    *localName = local.Detach();
    return true;
}

bool SchemaOption::Rename(const WCHAR* namespaceUri, const WCHAR* localName) {
    ComPtr<IXMLDOMAttribute> name;
    if (Helper()->GetAttributeNode(Element(), NameAttribute, name.Put()) == S_OK) {
        UniqueBstr qname;
        if (Helper()->MakeQName(namespaceUri, localName, qname.Put()) != S_OK) {
            return false;
        }
        return name->put_text(qname.Get()) == S_OK;
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

} // namespace ptbridge
