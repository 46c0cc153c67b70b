#include "windows/dom_namespace_manager.h"

#include "common/com_ptr.h"

#include <new>
#include <utility>

namespace ptbridge {

namespace {
const std::u16string DefaultDeclaration = u"xmlns";
const std::u16string DeclarationPrefix = u"xmlns:";

// Runs a DOM getter that hands out a BSTR; "none" (S_FALSE or null) is "".
template <typename Getter> HRESULT ReadString(Getter get, std::u16string* text) {
    UniqueBstr value;
    HRESULT hr = get(value.Put());
    if (SUCCEEDED(hr))
        *text = value.Get()
                    ? std::u16string(reinterpret_cast<const char16_t*>(value.Get()), value.Length())
                    : std::u16string();
    return FAILED(hr) ? hr : S_OK;
}
} // namespace

HRESULT DomNamespaceManager::Create(REFIID riid, void** manager) {
    if (!manager)
        return E_POINTER;
    *manager = nullptr;
    ComPtr<DomNamespaceManager> made;
    made.Attach(new (std::nothrow) DomNamespaceManager());
    if (!made)
        return E_OUTOFMEMORY;
    return made->QueryInterface(riid, manager);
}

HRESULT DomNamespaceManager::ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) {
    node->AddRef();
    ComPtr<IXMLDOMNode> element;
    element.Attach(node);
    for (;;) {
        DOMNodeType type = NODE_INVALID;
        HRESULT hr = element->get_nodeType(&type);
        if (hr != S_OK)
            return FAILED(hr) ? hr : E_FAIL;
        if (type != NODE_ELEMENT)
            return S_OK;

        ComPtr<IXMLDOMNamedNodeMap> attributes;
        hr = element->get_attributes(attributes.Put());
        if (FAILED(hr))
            return hr;
        LONG count = 0;
        if (attributes && (hr = attributes->get_length(&count)) != S_OK)
            return FAILED(hr) ? hr : E_FAIL;
        // By index, not with nextNode, which in Wine's MSXML passes over the
        // declarations. One index past the length too: Wine's MSXML numbers the
        // declarations of an element without other attributes from 1, so that
        // its last one sits at the length. Seeing a declaration twice changes
        // nothing.
        for (LONG i = 0; i <= count; ++i) {
            // A declaration the DOM cannot hand out as a node (Wine's default
            // namespace declarations) is passed over; the element's own name
            // below still shows a default namespace.
            ComPtr<IXMLDOMNode> attribute;
            if (attributes->get_item(i, attribute.Put()) != S_OK || !attribute)
                continue;
            std::u16string name;
            hr = ReadString([&](BSTR* text) { return attribute->get_nodeName(text); }, &name);
            if (hr != S_OK)
                return hr;
            bool isDefault = name == DefaultDeclaration;
            if (!isDefault && name.compare(0, DeclarationPrefix.size(), DeclarationPrefix) != 0)
                continue;
            std::u16string uri;
            hr = ReadString([&](BSTR* text) { return attribute->get_text(text); }, &uri);
            if (hr != S_OK)
                return hr;
            BindUnlessHidden(
                context, isDefault ? std::u16string() : name.substr(DeclarationPrefix.size()), uri);
        }

        std::u16string prefix, uri;
        hr = ReadString([&](BSTR* text) { return element->get_prefix(text); }, &prefix);
        if (hr == S_OK)
            hr = ReadString([&](BSTR* text) { return element->get_namespaceURI(text); }, &uri);
        if (hr != S_OK)
            return hr;
        BindUnlessHidden(context, prefix, uri);

        if (!deep)
            return S_OK;
        ComPtr<IXMLDOMNode> parent;
        hr = element->get_parentNode(parent.Put());
        if (FAILED(hr))
            return hr;
        if (!parent)
            return S_OK;
        element = std::move(parent);
    }
}

// A prefix may be declared or used as an element or attribute name.
bool DomNamespaceManager::IsPrefixName(const std::u16string& prefix) const {
    for (size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = prefix[i];
        bool letter =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80;
        bool other = (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
        if (!letter && !(i > 0 && other))
            return false;
    }
    return true;
}

} // namespace ptbridge
