// IMXNamespaceManager: a stack of contexts, each binding prefixes to namespace
// URIs; a nearer context hides what farther ones bind to the same prefix. The
// bottom context is always there (popContext refuses to remove it); "xml" and
// "xmlns" are bound beneath everything. The default namespace has the prefix
// "" and is unbound again by binding "" to "".
//
// Texts come out through caller buffers with an in/out count of characters:
// with no buffer the count receives the length (terminator excluded); with a
// buffer of at least length+1 characters the text is copied and terminated and
// the count receives the length; a smaller buffer gives E_INVALIDARG and
// nothing is written. A prefix or URI that is not bound gives S_FALSE.
#pragma once

#include "live_objects.h"

#include "msxml6.h"

#include <string>
#include <vector>

class NamespaceManager final : public IMXNamespaceManager, public LiveObject {
  public:
    NamespaceManager();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP putAllowOverride(VARIANT_BOOL fOverride) override;
    STDMETHODIMP getAllowOverride(VARIANT_BOOL* fOverride) override;
    // Drops every context and declaration.
    STDMETHODIMP reset() override;
    STDMETHODIMP pushContext() override;
    // A new context holding the declarations on the node (an element) and,
    // when fDeep is not 0, on its ancestors, the nearer declaration winning.
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
    // The URI bound to the prefix, in the contexts, or at pContextNode when given.
    STDMETHODIMP getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode, WCHAR* pwchUri,
                        int* pcchUri) override;

  private:
    struct Binding {
        std::u16string prefix;
        std::u16string uri;
    };
    using Context = std::vector<Binding>;

    ~NamespaceManager() = default;
    // The URI the prefix is bound to in the contexts, or null.
    const std::u16string* UriOf(const std::u16string& prefix) const;
    std::vector<std::u16string> PrefixesOf(const std::u16string& uri) const;

    volatile LONG references_ = 1;
    VARIANT_BOOL allowOverride_ = VARIANT_TRUE;
    std::vector<Context> contexts_;
};
