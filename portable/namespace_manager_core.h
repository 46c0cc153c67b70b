// The part of an IMXNamespaceManager that does not depend on the DOM it reads,
// shared by the stand-in platform's manager and the host's DOM-based one.
//
// A stack of contexts, each binding prefixes to namespace URIs; a nearer
// context hides what farther ones bind to the same prefix. The bottom context
// is always there (popContext refuses to remove it); "xml" and "xmlns" are
// bound beneath everything. The default namespace has the prefix "" and is
// unbound again by binding "" to "".
//
// Texts come out through caller buffers with an in/out count of characters:
// with no buffer the count receives the length (terminator excluded); with a
// buffer of at least length+1 characters the text is copied and terminated and
// the count receives the length; a smaller buffer gives E_XML_BUFFERTOOSMALL
// and nothing is written. getURI answers S_FALSE for a prefix that is not bound;
// getPrefix and getDeclaredPrefix answer E_FAIL for an index out of bounds
// (for getPrefix: no further prefix is bound to the namespace), as MSXML 6 does.
// Running out of memory is E_OUTOFMEMORY, with the manager as it was.
//
// Costs stay linear in the declarations: each context indexes its bindings by
// prefix, so reading a node's declarations or declaring a prefix looks each one
// up once instead of comparing it with every earlier one, getURI looks the
// prefix up once per context, and getPrefix reads each binding once.
//
// A manager derives from it and says how it reads a node's declarations and
// which prefixes it accepts.
#pragma once

#include <windows.h>
#if __has_include(<msxml6.h>)
#include <msxml6.h>
#else
#include <msxml2.h>
#endif

#include <string>
#include <unordered_map>
#include <vector>

namespace ptbridge {

class NamespaceManagerCore : public IMXNamespaceManager {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP putAllowOverride(VARIANT_BOOL fOverride) override;
    STDMETHODIMP getAllowOverride(VARIANT_BOOL* fOverride) override;
    // Drops every context and declaration.
    STDMETHODIMP reset() override;
    STDMETHODIMP pushContext() override;
    // A new context holding the bindings in scope at the node (fDeep not 0) or
    // made on it, as ReadNodeContext reads them; nothing is pushed when that fails.
    STDMETHODIMP pushNodeContext(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) override;
    // E_FAIL when only the bottom context is left.
    STDMETHODIMP popContext() override;
    // Binds in the current context: S_OK, or S_FALSE when it replaced a binding
    // of the same context (E_FAIL instead when overriding is not allowed).
    STDMETHODIMP declarePrefix(const WCHAR* prefix, const WCHAR* namespaceURI) override;
    // The prefix at nIndex among those declared in the current context, in the
    // order they were declared (read, for a node's context).
    STDMETHODIMP getDeclaredPrefix(LONG nIndex, WCHAR* pwchPrefix, int* pcchPrefix) override;
    // The prefix at nIndex among those bound to the URI and not hidden, nearest
    // context first; E_INVALIDARG for a null or empty URI.
    STDMETHODIMP getPrefix(const WCHAR* pwszNamespaceURI, LONG nIndex, WCHAR* pwchPrefix,
                           int* pcchPrefix) override;
    // The URI bound to the prefix in the contexts, or in scope at pContextNode
    // when one is given.
    STDMETHODIMP getURI(const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode, WCHAR* pwchUri,
                        int* pcchUri) override;

  protected:
    struct Binding {
        std::u16string prefix;
        std::u16string uri; // empty: the prefix is unbound here
    };
    // The bindings of one context in the order they were made, and where each
    // prefix's binding sits among them.
    struct Context {
        std::vector<Binding> bindings;
        std::unordered_map<std::u16string, size_t> positions;
    };

    NamespaceManagerCore();
    virtual ~NamespaceManagerCore() = default;
    NamespaceManagerCore(const NamespaceManagerCore&) = delete;
    NamespaceManagerCore& operator=(const NamespaceManagerCore&) = delete;

    // Adds a binding to a context read nearest first: a prefix the context
    // already binds hides it.
    static void BindUnlessHidden(Context* context, std::u16string prefix, std::u16string uri);

    // The bindings in scope at `node` (deep) or made on it, nearest first. Any
    // result but S_OK ends the call that asked with that result.
    virtual HRESULT ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) = 0;
    // Whether declarePrefix may bind this (non-empty) prefix.
    virtual bool IsPrefixName(const std::u16string& prefix) const = 0;
    // Asked first by every IMXNamespaceManager method: true, with the result
    // in *failure, when the call is to fail at once (the stand-in platform's
    // fault injection). Never, unless a manager says otherwise.
    virtual bool CallFails(HRESULT* failure);

  private:
    // declarePrefix and getURI once their arguments are checked; they may throw
    // std::bad_alloc, which the methods answer with E_OUTOFMEMORY.
    HRESULT Declare(std::u16string prefix, std::u16string uri);
    HRESULT LookUpUri(const WCHAR* prefix, IXMLDOMNode* contextNode, WCHAR* uri, int* count);
    // The URI the prefix is bound to in the contexts, or null.
    const std::u16string* UriOf(const std::u16string& prefix) const;
    // The prefix at `index` among those bound to the URI, or null.
    const std::u16string* NthPrefixOf(const std::u16string& uri, size_t index) const;

    volatile LONG references_ = 1;
    VARIANT_BOOL allowOverride_ = VARIANT_TRUE;
    std::vector<Context> contexts_;
};

} // namespace ptbridge
