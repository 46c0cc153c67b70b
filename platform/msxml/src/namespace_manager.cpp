#include "namespace_manager.h"

#include "namespace_binding.h"
#include "node_names.h"
#include "node_object.h"
#include "utf_text.h"

namespace {
const std::u16string XmlPrefix = u"xml";
const std::u16string XmlUri = u"http://www.w3.org/XML/1998/namespace";
const std::u16string XmlnsPrefix = u"xmlns";
const std::u16string XmlnsUri = u"http://www.w3.org/2000/xmlns/";

std::u16string WideOrEmpty(const WCHAR* text) {
    return text ? std::u16string(text, WideLength(text)) : std::u16string();
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
    if (text.size() >= static_cast<size_t>(INT32_MAX))
        return E_FAIL;
    int length = static_cast<int>(text.size());
    if (buffer) {
        if (*count <= length)
            return E_INVALIDARG;
        text.copy(buffer, text.size());
        buffer[length] = 0;
    }
    *count = length;
    return S_OK;
}

// The element whose declarations are in scope at a node.
Node* ScopeElement(Node* node) {
    if (IsElement(node))
        return node;
    return node->parent && IsElement(node->parent) ? node->parent : nullptr;
}
} // namespace

NamespaceManager::NamespaceManager() : contexts_(1) {}

STDMETHODIMP NamespaceManager::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMXNamespaceManager))
        return E_NOINTERFACE;
    *object = static_cast<IMXNamespaceManager*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) NamespaceManager::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) NamespaceManager::Release() {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP NamespaceManager::putAllowOverride(VARIANT_BOOL fOverride) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    allowOverride_ = fOverride ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP NamespaceManager::getAllowOverride(VARIANT_BOOL* fOverride) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!fOverride)
        return E_POINTER;
    *fOverride = allowOverride_;
    return S_OK;
}

STDMETHODIMP NamespaceManager::reset() {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    contexts_.assign(1, Context());
    return S_OK;
}

STDMETHODIMP NamespaceManager::pushContext() {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    contexts_.emplace_back();
    return S_OK;
}

STDMETHODIMP NamespaceManager::pushNodeContext(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    NodeObject* node = NodeObject::From(contextNode);
    if (!node)
        return E_INVALIDARG;
    Context context;
    Node* element = IsElement(node->TreeNode()) || fDeep ? ScopeElement(node->TreeNode()) : nullptr;
    for (; element && IsElement(element); element = fDeep ? element->parent : nullptr) {
        for (Namespace* ns = static_cast<Element*>(element)->declarations; ns; ns = ns->next) {
            std::u16string prefix = WideFromUtf8(ns->prefix);
            bool hidden = false;
            for (const Binding& nearer : context)
                hidden = hidden || nearer.prefix == prefix;
            if (!hidden)
                context.push_back({prefix, WideFromUtf8(ns->uri)});
        }
    }
    contexts_.push_back(std::move(context));
    return S_OK;
}

STDMETHODIMP NamespaceManager::popContext() {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (contexts_.size() <= 1)
        return E_FAIL;
    contexts_.pop_back();
    return S_OK;
}

STDMETHODIMP NamespaceManager::declarePrefix(const WCHAR* prefix, const WCHAR* namespaceURI) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!namespaceURI)
        return E_INVALIDARG;
    std::u16string name = WideOrEmpty(prefix);
    std::u16string uri = WideOrEmpty(namespaceURI);
    bool validName = name.empty() || IsXmlName(Utf8FromWide(name.c_str()), false);
    if (!validName || PredefinedUri(name) || (!name.empty() && uri.empty()))
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

STDMETHODIMP NamespaceManager::getDeclaredPrefix(LONG nIndex, WCHAR* pwchPrefix, int* pcchPrefix) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (nIndex < 0)
        return E_INVALIDARG;
    const Context& current = contexts_.back();
    if (static_cast<size_t>(nIndex) >= current.size())
        return pcchPrefix ? S_FALSE : E_POINTER;
    return CopyOut(current[nIndex].prefix, pwchPrefix, pcchPrefix);
}

STDMETHODIMP NamespaceManager::getPrefix(const WCHAR* pwszNamespaceURI, LONG nIndex,
                                         WCHAR* pwchPrefix, int* pcchPrefix) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!pwszNamespaceURI || nIndex < 0)
        return E_INVALIDARG;
    std::vector<std::u16string> prefixes = PrefixesOf(WideOrEmpty(pwszNamespaceURI));
    if (static_cast<size_t>(nIndex) >= prefixes.size())
        return pcchPrefix ? S_FALSE : E_POINTER;
    return CopyOut(prefixes[nIndex], pwchPrefix, pcchPrefix);
}

STDMETHODIMP NamespaceManager::getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode,
                                      WCHAR* pwchUri, int* pcchUri) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    std::u16string prefix = WideOrEmpty(pwchPrefix);
    const std::u16string* uri = PredefinedUri(prefix);
    std::u16string declared;
    if (pContextNode && !uri) {
        NodeObject* node = NodeObject::From(pContextNode);
        if (!node)
            return E_INVALIDARG;
        std::string name = Utf8FromWide(prefix.c_str());
        Node* element = ScopeElement(node->TreeNode());
        Namespace* ns =
            element ? FindDeclaration(element, name.empty() ? nullptr : name.c_str()) : nullptr;
        if (ns && ns->uri && ns->uri[0]) {
            declared = WideFromUtf8(ns->uri);
            uri = &declared;
        }
    } else if (!uri) {
        uri = UriOf(prefix);
    }
    if (!uri)
        return pcchUri ? S_FALSE : E_POINTER;
    return CopyOut(*uri, pwchUri, pcchUri);
}

const std::u16string* NamespaceManager::UriOf(const std::u16string& prefix) const {
    for (auto context = contexts_.rbegin(); context != contexts_.rend(); ++context)
        for (const Binding& binding : *context)
            if (binding.prefix == prefix)
                return binding.uri.empty() ? nullptr : &binding.uri;
    return PredefinedUri(prefix);
}

std::vector<std::u16string> NamespaceManager::PrefixesOf(const std::u16string& uri) const {
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
