#include "document_object.h"

#include "namespace_binding.h"
#include "node_names.h"
#include "tree_edit.h"
#include "utf_text.h"
#include "xml_load.h"

namespace ptbridge::standin {

namespace {
// The node type a createNode VARIANT names, or false when it names none.
bool NodeKindOf(const VARIANT& type, LONG* kind) {
    if (type.vt == VT_I4 || type.vt == VT_INT) {
        *kind = type.lVal;
        return true;
    }
    if (type.vt == VT_I2) {
        *kind = type.iVal;
        return true;
    }
    VARIANT number;
    VariantInit(&number);
    bool converted = VariantChangeType(&number, &type, 0, VT_I4) == S_OK;
    *kind = number.lVal;
    VariantClear(&number);
    return converted;
}
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

// A new node of the DOM node type `kind` (DocumentObject::createNode), its
// object in *created.
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
} // namespace

HRESULT DocumentObject::Wrap(DocumentOwner* owner, IXMLDOMDocument2** document) {
    HRESULT hr = ReturnObject(ObjectFor(owner, reinterpret_cast<xmlNodePtr>(owner->Doc())),
                              IID_IXMLDOMDocument2, reinterpret_cast<void**>(document));
    owner->Release();
    return hr;
}

STDMETHODIMP DocumentObject::get_documentElement(IXMLDOMElement** DOMElement) {
    HRESULT hr;
    if (OpeningFails(&hr, DOMElement))
        return hr;
    xmlNodePtr root = xmlDocGetRootElement(Owner()->Doc());
    if (!root)
        return S_FALSE;
    return ReturnObject(ObjectFor(Owner(), root), IID_IXMLDOMElement,
                        reinterpret_cast<void**>(DOMElement));
}

STDMETHODIMP DocumentObject::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    return Guarded([&] { return GetElementsByTagName(tagName, resultList); });
}

STDMETHODIMP DocumentObject::createNode(VARIANT Type, BSTR name, BSTR namespaceURI,
                                        IXMLDOMNode** node) {
    HRESULT hr;
    if (OpeningFails(&hr, node))
        return hr;
    LONG kind;
    if (!NodeKindOf(Type, &kind))
        return E_INVALIDARG;
    return Guarded([&] {
        NodeObject* created;
        HRESULT made =
            CreateNode(Owner(), kind, Utf8FromWide(name), Utf8FromWide(namespaceURI), &created);
        return made == S_OK ? ReturnObject(created, node) : made;
    });
}

STDMETHODIMP DocumentObject::loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (isSuccessful)
        *isSuccessful = VARIANT_FALSE;
    hr = Guarded([&] {
        // Loading discards the former content at once, as MSXML does, so a
        // load that fails leaves the document empty.
        HRESULT cleared = ClearContent(*Owner());
        if (cleared != S_OK)
            return cleared;
        std::string text = Utf8FromWide(bstrXML);
        LoadedXml parsed;
        HRESULT loaded = LoadXml(PiecesOf(text), TextEncoding::Utf8, Owner()->PreserveWhiteSpace(),
                                 &parsed, nullptr);
        if (loaded != S_OK)
            return loaded == E_FAIL ? S_FALSE : loaded;
        HRESULT replaced = ReplaceContent(*Owner(), parsed.doc);
        xmlFreeDoc(parsed.doc);
        if (parsed.escapeUris)
            Owner()->NoteUrisToEscape();
        Owner()->SetTextSize(text.size());
        return replaced;
    });
    if (hr == S_OK && isSuccessful)
        *isSuccessful = VARIANT_TRUE;
    return hr;
}

STDMETHODIMP DocumentObject::get_preserveWhiteSpace(VARIANT_BOOL* isPreserved) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!isPreserved)
        return E_INVALIDARG;
    *isPreserved = Owner()->PreserveWhiteSpace() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP DocumentObject::put_preserveWhiteSpace(VARIANT_BOOL isPreserved) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    Owner()->SetPreserveWhiteSpace(isPreserved != VARIANT_FALSE);
    return S_OK;
}

} // namespace ptbridge::standin
