// A namespace manager written over the DOM interfaces alone, for platforms
// whose own manager cannot read a node's declarations (Wine's MSXML answers
// pushNodeContext with E_NOTIMPL).
//
// It keeps a stack of contexts, each binding prefixes to namespace URIs; a
// nearer context hides what farther ones bind to the same prefix, and the
// bottom context is always there. "xml" and "xmlns" are bound beneath
// everything. The default namespace has the prefix ""; binding "" to "" unbinds
// it again. pushNodeContext reads, on the node and (deep) its ancestors, the
// xmlns and xmlns:p attributes the DOM lists and the binding each element's own
// name shows (its prefix and namespace URI): the name covers the declarations a
// DOM does not hand out as attribute nodes, such as Wine's default-namespace
// declarations. A declaration that neither shows is not seen: with Wine's
// MSXML, a default namespace declared on a prefixed element.
//
// Texts come out through caller buffers with an in/out count of characters:
// with no buffer the count receives the length (terminator excluded); with a
// buffer of at least length+1 characters the text is copied and terminated and
// the count receives the length; a smaller buffer gives E_INVALIDARG and
// nothing is written. A prefix or URI that is not bound gives S_FALSE.
#pragma once

#include "common/platform.h"

#include <string>
#include <vector>

class DomNamespaceManager final : public IMXNamespaceManager {
  public:
    // A new manager asked for `riid` (IID_IMXNamespaceManager or IID_IUnknown).
    static HRESULT Create(REFIID riid, void** manager);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP putAllowOverride(VARIANT_BOOL fOverride) override;
    STDMETHODIMP getAllowOverride(VARIANT_BOOL* fOverride) override;
    // Drops every context and declaration.
    STDMETHODIMP reset() override;
    STDMETHODIMP pushContext() override;
    // A new context holding the bindings in scope at the node (deep) or made
    // on it (not deep). A DOM call that fails ends it with that failure and
    // nothing pushed.
    STDMETHODIMP pushNodeContext(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) override;
    // E_FAIL when only the bottom context is left.
    STDMETHODIMP popContext() override;
    // Binds in the current context: S_OK, or S_FALSE when it replaced a binding
    // of the same context (E_FAIL instead when overriding is not allowed).
    STDMETHODIMP declarePrefix(const WCHAR* prefix, const WCHAR* namespaceURI) override;
    // The prefix at nIndex among those declared in the current context.
    STDMETHODIMP getDeclaredPrefix(LONG nIndex, WCHAR* pwchPrefix, int* pcchPrefix) override;
    // The prefix at nIndex among those bound to the URI, nearest first.
    STDMETHODIMP getPrefix(const WCHAR* pwszNamespaceURI, LONG nIndex, WCHAR* pwchPrefix,
                           int* pcchPrefix) override;
    // The URI bound to the prefix in the contexts, or in scope at pContextNode
    // when one is given.
    STDMETHODIMP getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode, WCHAR* pwchUri,
                        int* pcchUri) override;

  private:
    struct Binding {
        std::u16string prefix;
        std::u16string uri; // empty: the prefix is unbound here
    };
    using Context = std::vector<Binding>;

    DomNamespaceManager() = default;
    ~DomNamespaceManager() = default;
    DomNamespaceManager(const DomNamespaceManager&) = delete;
    DomNamespaceManager& operator=(const DomNamespaceManager&) = delete;

    // The bindings in scope at `node` (deep) or made on it, nearest first.
    static HRESULT ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context);
    // The URI the prefix is bound to in the contexts, or null.
    const std::u16string* UriOf(const std::u16string& prefix) const;
    std::vector<std::u16string> PrefixesOf(const std::u16string& uri) const;

    volatile LONG references_ = 1;
    VARIANT_BOOL allowOverride_ = VARIANT_TRUE;
    std::vector<Context> contexts_ = std::vector<Context>(1);
};
