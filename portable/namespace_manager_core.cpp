#include "namespace_manager_core.h"

#include <climits>
#include <new>
#include <utility>

namespace ptbridge {

namespace {
const std::u16string XmlPrefix = u"xml";
const std::u16string XmlUri = u"http://www.w3.org/XML/1998/namespace";
const std::u16string XmlnsPrefix = u"xmlns";
const std::u16string XmlnsUri = u"http://www.w3.org/2000/xmlns/";

std::u16string TextOf(const WCHAR* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
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
            return E_XML_BUFFERTOOSMALL;
        text.copy(reinterpret_cast<char16_t*>(buffer), text.size());
        buffer[length] = 0;
    }
    *count = length;
    return S_OK;
}

template <class Context> auto FindBinding(Context& context, const std::u16string& prefix) {
    auto position = context.positions.find(prefix);
    return position != context.positions.end() ? &context.bindings[position->second] : nullptr;
}

// Runs a method's body, answering an allocation failure with E_OUTOFMEMORY: no
// C++ exception may leave a COM method, and the manager stays as it was.
template <class Body> HRESULT OutOfMemoryAsResult(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// The URI a binding gives its prefix, or null when it unbinds it.
const std::u16string* BoundUri(const std::u16string& uri) {
    return uri.empty() ? nullptr : &uri;
}
} // namespace

NamespaceManagerCore::NamespaceManagerCore() : contexts_(1) {}

STDMETHODIMP NamespaceManagerCore::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMXNamespaceManager))
        return E_NOINTERFACE;
    *object = static_cast<IMXNamespaceManager*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) NamespaceManagerCore::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) NamespaceManagerCore::Release() {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP NamespaceManagerCore::putAllowOverride(VARIANT_BOOL fOverride) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    allowOverride_ = fOverride ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP NamespaceManagerCore::getAllowOverride(VARIANT_BOOL* fOverride) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    if (!fOverride)
        return E_POINTER;
    *fOverride = allowOverride_;
    return S_OK;
}

STDMETHODIMP NamespaceManagerCore::reset() {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    contexts_.assign(1, Context());
    return S_OK;
}

STDMETHODIMP NamespaceManagerCore::pushContext() {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    return OutOfMemoryAsResult([&] {
        contexts_.emplace_back();
        return S_OK;
    });
}

STDMETHODIMP NamespaceManagerCore::pushNodeContext(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    if (!contextNode)
        return E_INVALIDARG;
    return OutOfMemoryAsResult([&] {
        Context context;
        HRESULT read = ReadNodeContext(contextNode, fDeep != 0, &context);
        if (read == S_OK)
            contexts_.push_back(std::move(context));
        return read;
    });
}

STDMETHODIMP NamespaceManagerCore::popContext() {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    if (contexts_.size() <= 1)
        return E_FAIL;
    contexts_.pop_back();
    return S_OK;
}

STDMETHODIMP NamespaceManagerCore::declarePrefix(const WCHAR* prefix, const WCHAR* namespaceURI) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    if (!namespaceURI)
        return E_INVALIDARG;
    return OutOfMemoryAsResult([&] { return Declare(TextOf(prefix), TextOf(namespaceURI)); });
}

HRESULT NamespaceManagerCore::Declare(std::u16string name, std::u16string uri) {
    if ((!name.empty() && !IsPrefixName(name)) || PredefinedUri(name) ||
        (!name.empty() && uri.empty()))
        return E_INVALIDARG;
    Binding* binding = FindBinding(contexts_.back(), name);
    if (!binding) {
        BindUnlessHidden(&contexts_.back(), std::move(name), std::move(uri));
        return S_OK;
    }
    if (!allowOverride_)
        return E_FAIL;
    binding->uri = uri;
    return S_FALSE;
}

STDMETHODIMP NamespaceManagerCore::getDeclaredPrefix(LONG nIndex, WCHAR* pwchPrefix,
                                                     int* pcchPrefix) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    const std::vector<Binding>& declared = contexts_.back().bindings;
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= declared.size())
        return pcchPrefix ? E_FAIL : E_POINTER;
    return CopyOut(declared[nIndex].prefix, pwchPrefix, pcchPrefix);
}

STDMETHODIMP NamespaceManagerCore::getPrefix(const WCHAR* pwszNamespaceURI, LONG nIndex,
                                             WCHAR* pwchPrefix, int* pcchPrefix) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    if (!pwszNamespaceURI || !*pwszNamespaceURI)
        return E_INVALIDARG;
    return OutOfMemoryAsResult([&] {
        const std::u16string* prefix =
            nIndex < 0 ? nullptr : NthPrefixOf(TextOf(pwszNamespaceURI), nIndex);
        if (!prefix)
            return pcchPrefix ? E_FAIL : E_POINTER;
        return CopyOut(*prefix, pwchPrefix, pcchPrefix);
    });
}

STDMETHODIMP NamespaceManagerCore::getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode,
                                          WCHAR* pwchUri, int* pcchUri) {
    HRESULT hr;
    if (CallFails(&hr))
        return hr;
    return OutOfMemoryAsResult(
        [&] { return LookUpUri(pwchPrefix, pContextNode, pwchUri, pcchUri); });
}

HRESULT NamespaceManagerCore::LookUpUri(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode,
                                        WCHAR* pwchUri, int* pcchUri) {
    std::u16string prefix = TextOf(pwchPrefix);
    const std::u16string* uri = PredefinedUri(prefix);
    Context atNode;
    if (pContextNode && !uri) {
        HRESULT hr = ReadNodeContext(pContextNode, true, &atNode);
        if (hr != S_OK)
            return hr;
        const Binding* binding = FindBinding(atNode, prefix);
        uri = binding ? BoundUri(binding->uri) : nullptr;
    } else if (!uri) {
        uri = UriOf(prefix);
    }
    if (!uri)
        return pcchUri ? S_FALSE : E_POINTER;
    return CopyOut(*uri, pwchUri, pcchUri);
}

void NamespaceManagerCore::BindUnlessHidden(Context* context, std::u16string prefix,
                                            std::u16string uri) {
    auto [position, added] = context->positions.emplace(prefix, context->bindings.size());
    if (!added)
        return;
    try {
        context->bindings.push_back({std::move(prefix), std::move(uri)});
    } catch (...) {
        context->positions.erase(position);
        throw;
    }
}

bool NamespaceManagerCore::CallFails(HRESULT*) {
    return false;
}

const std::u16string* NamespaceManagerCore::UriOf(const std::u16string& prefix) const {
    for (auto context = contexts_.rbegin(); context != contexts_.rend(); ++context)
        if (const Binding* binding = FindBinding(*context, prefix))
            return BoundUri(binding->uri);
    return PredefinedUri(prefix);
}

// A binding counts where no nearer context binds its prefix again; only
// bindings to the URI are looked up further.
const std::u16string* NamespaceManagerCore::NthPrefixOf(const std::u16string& uri,
                                                        size_t index) const {
    for (auto context = contexts_.rbegin(); context != contexts_.rend(); ++context)
        for (const Binding& binding : context->bindings)
            if (binding.uri == uri && UriOf(binding.prefix) == &binding.uri && index-- == 0)
                return &binding.prefix;
    for (const std::u16string* prefix : {&XmlPrefix, &XmlnsPrefix})
        if (*PredefinedUri(*prefix) == uri && index-- == 0)
            return prefix;
    return nullptr;
}

} // namespace ptbridge
