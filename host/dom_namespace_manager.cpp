#include "dom_namespace_manager.h"

#include "common/com_ptr.h"

#include <climits>
#include <new>

namespace {
const std::u16string XmlPrefix = u"xml";
const std::u16string XmlUri = u"http://www.w3.org/XML/1998/namespace";
const std::u16string XmlnsPrefix = u"xmlns";
const std::u16string XmlnsUri = u"http://www.w3.org/2000/xmlns/";
const std::u16string DeclarationPrefix = u"xmlns:";

std::u16string TextOf(const WCHAR* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

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

// The URI of a prefix that is bound everywhere, or null.
const std::u16string* PredefinedUri(const std::u16string& prefix) {
    if (prefix == XmlPrefix)
        return &XmlUri;
    if (prefix == XmlnsPrefix)
        return &XmlnsUri;
    return nullptr;
}

HRESULT CopyOut(const std::u16string& text, WCHAR* buffer, int* count) {
    if (!count)
        return E_POINTER;
    if (text.size() >= static_cast<size_t>(INT_MAX))
        return E_FAIL;
    int length = static_cast<int>(text.size());
    if (buffer) {
        if (*count <= length)
            return E_INVALIDARG;
        text.copy(reinterpret_cast<char16_t*>(buffer), text.size());
        buffer[length] = 0;
    }
    *count = length;
    return S_OK;
}

// A prefix may be declared or used as an element or attribute name.
bool IsNcName(const std::u16string& name) {
    if (name.empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        bool letter =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80;
        bool other = (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
        if (!letter && !(i > 0 && other))
            return false;
    }
    return true;
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

STDMETHODIMP DomNamespaceManager::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMXNamespaceManager))
        return E_NOINTERFACE;
    *object = static_cast<IMXNamespaceManager*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DomNamespaceManager::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) DomNamespaceManager::Release() {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP DomNamespaceManager::putAllowOverride(VARIANT_BOOL fOverride) {
    allowOverride_ = fOverride ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::getAllowOverride(VARIANT_BOOL* fOverride) {
    if (!fOverride)
        return E_POINTER;
    *fOverride = allowOverride_;
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::reset() {
    contexts_.assign(1, Context());
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::pushContext() {
    contexts_.emplace_back();
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::pushNodeContext(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) {
    if (!contextNode)
        return E_INVALIDARG;
    Context context;
    HRESULT hr = ReadNodeContext(contextNode, fDeep != 0, &context);
    if (hr != S_OK)
        return hr;
    contexts_.push_back(std::move(context));
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::popContext() {
    if (contexts_.size() <= 1)
        return E_FAIL;
    contexts_.pop_back();
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::declarePrefix(const WCHAR* prefix, const WCHAR* namespaceURI) {
    if (!namespaceURI)
        return E_INVALIDARG;
    std::u16string name = TextOf(prefix);
    std::u16string uri = TextOf(namespaceURI);
    if ((!name.empty() && !IsNcName(name)) || PredefinedUri(name) || (!name.empty() && uri.empty()))
        return E_INVALIDARG;
    for (Binding& binding : contexts_.back()) {
        if (binding.prefix != name)
            continue;
        if (!allowOverride_)
            return E_FAIL;
        binding.uri = uri;
        return S_FALSE;
    }
    contexts_.back().push_back({name, uri});
    return S_OK;
}

STDMETHODIMP DomNamespaceManager::getDeclaredPrefix(LONG nIndex, WCHAR* pwchPrefix,
                                                    int* pcchPrefix) {
    if (nIndex < 0)
        return E_INVALIDARG;
    const Context& current = contexts_.back();
    if (static_cast<size_t>(nIndex) >= current.size())
        return pcchPrefix ? S_FALSE : E_POINTER;
    return CopyOut(current[nIndex].prefix, pwchPrefix, pcchPrefix);
}

STDMETHODIMP DomNamespaceManager::getPrefix(const WCHAR* pwszNamespaceURI, LONG nIndex,
                                            WCHAR* pwchPrefix, int* pcchPrefix) {
    if (!pwszNamespaceURI || nIndex < 0)
        return E_INVALIDARG;
    std::vector<std::u16string> prefixes = PrefixesOf(TextOf(pwszNamespaceURI));
    if (static_cast<size_t>(nIndex) >= prefixes.size())
        return pcchPrefix ? S_FALSE : E_POINTER;
    return CopyOut(prefixes[nIndex], pwchPrefix, pcchPrefix);
}

STDMETHODIMP DomNamespaceManager::getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode,
                                         WCHAR* pwchUri, int* pcchUri) {
    std::u16string prefix = TextOf(pwchPrefix);
    const std::u16string* uri = PredefinedUri(prefix);
    Context atNode;
    if (pContextNode && !uri) {
        HRESULT hr = ReadNodeContext(pContextNode, true, &atNode);
        if (hr != S_OK)
            return hr;
        for (const Binding& binding : atNode) {
            if (binding.prefix == prefix) {
                uri = binding.uri.empty() ? nullptr : &binding.uri;
                break;
            }
        }
    } else if (!uri) {
        uri = UriOf(prefix);
    }
    if (!uri)
        return pcchUri ? S_FALSE : E_POINTER;
    return CopyOut(*uri, pwchUri, pcchUri);
}

HRESULT DomNamespaceManager::ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) {
    auto bind = [context](const std::u16string& prefix, const std::u16string& uri) {
        for (const Binding& nearer : *context) {
            if (nearer.prefix == prefix)
                return;
        }
        context->push_back({prefix, uri});
    };
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
        // One index past the length too: Wine's MSXML numbers the declarations
        // of an element without other attributes from 1, so that its last one
        // sits at the length. Seeing a declaration twice changes nothing.
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
            bool isDefault = name == XmlnsPrefix;
            if (!isDefault && name.compare(0, DeclarationPrefix.size(), DeclarationPrefix) != 0)
                continue;
            std::u16string uri;
            hr = ReadString([&](BSTR* text) { return attribute->get_text(text); }, &uri);
            if (hr != S_OK)
                return hr;
            bind(isDefault ? std::u16string() : name.substr(DeclarationPrefix.size()), uri);
        }

        std::u16string prefix, uri;
        hr = ReadString([&](BSTR* text) { return element->get_prefix(text); }, &prefix);
        if (hr == S_OK)
            hr = ReadString([&](BSTR* text) { return element->get_namespaceURI(text); }, &uri);
        if (hr != S_OK)
            return hr;
        bind(prefix, uri);

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

const std::u16string* DomNamespaceManager::UriOf(const std::u16string& prefix) const {
    for (auto context = contexts_.rbegin(); context != contexts_.rend(); ++context)
        for (const Binding& binding : *context)
            if (binding.prefix == prefix)
                return binding.uri.empty() ? nullptr : &binding.uri;
    return PredefinedUri(prefix);
}

std::vector<std::u16string> DomNamespaceManager::PrefixesOf(const std::u16string& uri) const {
    std::vector<std::u16string> prefixes;
    if (uri.empty())
        return prefixes;
    for (auto context = contexts_.rbegin(); context != contexts_.rend(); ++context)
        for (const Binding& binding : *context)
            if (binding.uri == uri && UriOf(binding.prefix) == &binding.uri)
                prefixes.push_back(binding.prefix);
    if (uri == XmlUri)
        prefixes.push_back(XmlPrefix);
    if (uri == XmlnsUri)
        prefixes.push_back(XmlnsPrefix);
    return prefixes;
}
