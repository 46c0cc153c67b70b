#include "node_creation.h"

#include "msxml6.h"
#include "namespace_binding.h"
#include "node_names.h"
#include "utf_text.h"

namespace {
bool IsAllowedName(const std::string& qualifiedName, const SplitName& name) {
    if (xmlValidateQName(XmlText(qualifiedName), 0) != 0)
        return false;
    if (name.prefix == "xmlns" || (name.prefix.empty() && name.local == "xmlns"))
        return false;
    return true;
}

// The namespace a named node of this kind takes, or E_INVALIDARG.
HRESULT NamespaceFor(xmlDocPtr doc, LONG kind, const SplitName& name, const std::string& uri,
                     xmlNsPtr* ns) {
    *ns = nullptr;
    if (name.prefix.empty() && (kind == NODE_ATTRIBUTE || uri.empty()))
        return S_OK;
    if (uri.empty())
        return E_INVALIDARG;
    bool xmlPrefix = name.prefix == "xml";
    if (xmlPrefix != (uri == CharText(XML_XML_NAMESPACE)))
        return E_INVALIDARG;
    const xmlChar* prefix = name.prefix.empty() ? nullptr : XmlText(name.prefix);
    *ns = ParkedNamespace(doc, prefix, XmlText(uri));
    return *ns ? S_OK : E_OUTOFMEMORY;
}
} // namespace

HRESULT CreateDetachedNode(xmlDocPtr doc, LONG kind, const std::string& qualifiedName,
                           const std::string& uri, xmlNodePtr* created) {
    *created = nullptr;
    if (kind == NODE_TEXT)
        *created = xmlNewDocText(doc, BAD_CAST "");
    else if (kind == NODE_COMMENT)
        *created = xmlNewDocComment(doc, BAD_CAST "");
    if (kind == NODE_TEXT || kind == NODE_COMMENT)
        return *created ? S_OK : E_OUTOFMEMORY;
    if (kind != NODE_ELEMENT && kind != NODE_ATTRIBUTE)
        return E_INVALIDARG;

    SplitName name = SplitQualifiedName(qualifiedName);
    if (!IsAllowedName(qualifiedName, name))
        return E_INVALIDARG;
    xmlNsPtr ns;
    HRESULT hr = NamespaceFor(doc, kind, name, uri, &ns);
    if (hr != S_OK)
        return hr;
    xmlNodePtr node =
        kind == NODE_ELEMENT
            ? xmlNewDocNode(doc, nullptr, XmlText(name.local), nullptr)
            : reinterpret_cast<xmlNodePtr>(xmlNewDocProp(doc, XmlText(name.local), nullptr));
    if (!node)
        return E_OUTOFMEMORY;
    node->ns = ns;
    *created = node;
    return S_OK;
}
