#include "document_object.h"

#include "node_creation.h"
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
        std::string text = Utf8FromWide(bstrXML);
        LoadedXml parsed;
        HRESULT loaded =
            LoadXml(text, TextEncoding::Utf8, Owner()->PreserveWhiteSpace(), &parsed, nullptr);
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
        return E_POINTER;
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
