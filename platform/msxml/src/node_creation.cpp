#include "node_creation.h"

#include "namespace_binding.h"
#include "node_names.h"

namespace ptbridge::standin {

namespace {
// Hands a new node to the owner and gives it its object.
HRESULT Adopt(DocumentOwner* owner, xmlNodePtr node, NodeObject** created) {
    if (!node)
        return E_OUTOFMEMORY;
    if (!owner->KeepOutside(node)) {
        xmlFreeNode(node);
        return E_OUTOFMEMORY;
    }
    *created = ObjectFor(owner, node);
    return *created ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateDeclaration(DocumentOwner* owner, const SplitName& name, const std::string& uri,
                          NodeObject** created) {
    bool reserved = name.local == "xml" || name.local == "xmlns";
    if ((!uri.empty() && uri != XmlnsNamespaceUri) || (!name.prefix.empty() && reserved))
        return E_INVALIDARG;
    xmlNsPtr declaration =
        xmlNewNs(nullptr, BAD_CAST "", name.prefix.empty() ? nullptr : XmlText(name.local));
    if (!declaration)
        return E_OUTOFMEMORY;
    if (!owner->KeepOutside(declaration)) {
        xmlFreeNs(declaration);
        return E_OUTOFMEMORY;
    }
    *created = ObjectFor(owner, declaration, nullptr);
    return *created ? S_OK : E_OUTOFMEMORY;
}

// The namespace a named node of this kind takes, or E_INVALIDARG.
HRESULT NamespaceFor(DocumentOwner* owner, LONG kind, const SplitName& name, const std::string& uri,
                     xmlNsPtr* ns) {
    *ns = nullptr;
    if (name.prefix.empty() && (kind == NODE_ATTRIBUTE || uri.empty()))
        return S_OK;
    if (uri.empty() || (name.prefix == "xml") != (uri == XmlNamespaceUri))
        return E_INVALIDARG;
    *ns = ParkedNamespace(owner->Doc(), name.prefix.empty() ? nullptr : XmlText(name.prefix),
                          XmlText(uri));
    owner->NoteUri(XmlText(uri));
    return *ns ? S_OK : E_OUTOFMEMORY;
}
} // namespace

HRESULT CreateNode(DocumentOwner* owner, LONG kind, const std::string& qualifiedName,
                   const std::string& uri, NodeObject** created) {
    *created = nullptr;
    xmlDocPtr doc = owner->Doc();
    if (kind == NODE_TEXT)
        return Adopt(owner, xmlNewDocText(doc, BAD_CAST ""), created);
    if (kind == NODE_COMMENT)
        return Adopt(owner, xmlNewDocComment(doc, BAD_CAST ""), created);
    if ((kind != NODE_ELEMENT && kind != NODE_ATTRIBUTE) || !IsXmlName(qualifiedName, true))
        return E_INVALIDARG;
    SplitName name = SplitQualifiedName(qualifiedName);
    bool declarationName = name.prefix == "xmlns" || (name.prefix.empty() && name.local == "xmlns");
    if (declarationName)
        return kind == NODE_ATTRIBUTE ? CreateDeclaration(owner, name, uri, created) : E_INVALIDARG;
    xmlNsPtr ns;
    HRESULT hr = NamespaceFor(owner, kind, name, uri, &ns);
    if (hr != S_OK)
        return hr;
    if (kind == NODE_ELEMENT)
        return Adopt(owner, xmlNewDocNode(doc, ns, XmlText(name.local), nullptr), created);
    xmlAttrPtr attribute = xmlNewDocProp(doc, XmlText(name.local), nullptr);
    if (attribute)
        attribute->ns = ns;
    return Adopt(owner, reinterpret_cast<xmlNodePtr>(attribute), created);
}

} // namespace ptbridge::standin
