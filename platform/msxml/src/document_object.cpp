#include "document_object.h"

#include "node_creation.h"
#include "utf_text.h"
#include "xml_parse.h"

#include <new>

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
} // namespace

HRESULT DocumentObject::Wrap(std::unique_ptr<NodeStore> store, DocumentNode* doc,
                             IXMLDOMDocument2** document) {
    auto tree = new (std::nothrow) DocumentTree(std::move(store), doc);
    if (!tree)
        return E_OUTOFMEMORY;
    tree->AddRef();
    HRESULT hr = ReturnNode(tree, doc, IID_IXMLDOMDocument2, reinterpret_cast<void**>(document));
    tree->Release();
    return hr;
}

STDMETHODIMP DocumentObject::get_documentElement(IXMLDOMElement** DOMElement) {
    HRESULT hr;
    if (DomCallFails(&hr, DOMElement))
        return hr;
    if (!DOMElement)
        return E_POINTER;
    *DOMElement = nullptr;
    Element* root = RootElement(Tree()->Doc());
    if (!root)
        return S_FALSE;
    return ReturnNode(Tree(), root, IID_IXMLDOMElement, reinterpret_cast<void**>(DOMElement));
}

STDMETHODIMP DocumentObject::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    return GetElementsByTagName(tagName, resultList);
}

STDMETHODIMP DocumentObject::createNode(VARIANT Type, BSTR name, BSTR namespaceURI,
                                        IXMLDOMNode** node) {
    HRESULT hr;
    if (DomCallFails(&hr, node))
        return hr;
    if (!node)
        return E_POINTER;
    *node = nullptr;
    LONG kind;
    if (!NodeKindOf(Type, &kind))
        return E_INVALIDARG;
    Node* created;
    hr = CreateDetachedNode(Tree()->Store(), Tree()->Doc(), kind, Utf8FromWide(name),
                            Utf8FromWide(namespaceURI), &created);
    if (hr != S_OK)
        return hr;
    NodeObject* object = ObjectFor(Tree(), created);
    if (!object) {
        Tree()->Store().FreeNode(created);
        return E_OUTOFMEMORY;
    }
    Tree()->AdoptCreated(created);
    *node = object->Face();
    return S_OK;
}

STDMETHODIMP DocumentObject::loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (isSuccessful)
        *isSuccessful = VARIANT_FALSE;
    DocumentNode* parsed = NewDocumentNode(Tree()->Store());
    if (!parsed)
        return E_OUTOFMEMORY;
    if (!ParseXml(Utf8FromWide(bstrXML), TextEncoding::Utf8, Tree()->Store(), parsed, nullptr)) {
        FreeSubtree(Tree()->Store(), parsed);
        return S_FALSE;
    }
    Tree()->ReplaceContent(parsed);
    if (isSuccessful)
        *isSuccessful = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP DocumentObject::get_preserveWhiteSpace(VARIANT_BOOL* isPreserved) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!isPreserved)
        return E_POINTER;
    *isPreserved = Tree()->Doc()->preserveWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP DocumentObject::put_preserveWhiteSpace(VARIANT_BOOL isPreserved) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    Tree()->Doc()->preserveWhiteSpace = isPreserved != VARIANT_FALSE;
    return S_OK;
}

} // namespace ptbridge::standin
