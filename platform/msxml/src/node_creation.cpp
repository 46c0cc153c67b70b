#include "node_creation.h"

#include "namespace_binding.h"
#include "node_names.h"

namespace ptbridge::standin {

namespace {
bool IsAllowedName(const std::string& qualifiedName, const SplitName& name) {
    if (!IsXmlName(qualifiedName, true))
        return false;
    if (name.prefix == "xmlns" || (name.prefix.empty() && name.local == "xmlns"))
        return false;
    return true;
}

// The namespace a named node of this kind takes, or E_INVALIDARG.
HRESULT NamespaceFor(NodeStore& store, DocumentNode* doc, LONG kind, const SplitName& name,
                     const std::string& uri, Namespace** ns) {
    *ns = nullptr;
    if (name.prefix.empty() && (kind == NODE_ATTRIBUTE || uri.empty()))
        return S_OK;
    if (uri.empty())
        return E_INVALIDARG;
    bool xmlPrefix = name.prefix == "xml";
    if (xmlPrefix != (uri == XmlNamespaceUri))
        return E_INVALIDARG;
    const char* prefix = name.prefix.empty() ? nullptr : name.prefix.c_str();
    *ns = ParkedNamespace(store, doc, prefix, uri.c_str());
    return *ns ? S_OK : E_OUTOFMEMORY;
}

template <class Named> Node* NewNamed(NodeStore& store, const char* local, Namespace* ns) {
    Named* node = store.New<Named>();
    if (node) {
        node->name = local;
        node->ns = ns;
    }
    return node;
}
} // namespace

HRESULT CreateDetachedNode(NodeStore& store, DocumentNode* doc, LONG kind,
                           const std::string& qualifiedName, const std::string& uri,
                           Node** created) {
    *created = nullptr;
    if (kind == NODE_TEXT || kind == NODE_COMMENT) {
        *created = store.New<TextNode>(static_cast<DOMNodeType>(kind));
        return *created ? S_OK : E_OUTOFMEMORY;
    }
    if (kind != NODE_ELEMENT && kind != NODE_ATTRIBUTE)
        return E_INVALIDARG;

    SplitName name = SplitQualifiedName(qualifiedName);
    if (!IsAllowedName(qualifiedName, name))
        return E_INVALIDARG;
    Namespace* ns;
    HRESULT hr = NamespaceFor(store, doc, kind, name, uri, &ns);
    if (hr != S_OK)
        return hr;
    const char* local = store.Intern(name.local);
    if (!local)
        return E_OUTOFMEMORY;
    *created = kind == NODE_ELEMENT ? NewNamed<Element>(store, local, ns)
                                    : NewNamed<Attribute>(store, local, ns);
    return *created ? S_OK : E_OUTOFMEMORY;
}

} // namespace ptbridge::standin
