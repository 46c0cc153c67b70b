#include "attribute_map.h"

#include "node_names.h"

namespace ptbridge::standin {

STDMETHODIMP AttributeMap::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IXMLDOMNamedNodeMap))
        return E_NOINTERFACE;
    *object = static_cast<IXMLDOMNamedNodeMap*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) AttributeMap::AddRef() {
    return element_->Face()->AddRef();
}

STDMETHODIMP_(ULONG) AttributeMap::Release() {
    return element_->Face()->Release();
}

STDMETHODIMP AttributeMap::getNamedItem(BSTR name, IXMLDOMNode** namedItem) {
    HRESULT hr;
    if (DomCallFails(&hr, namedItem))
        return hr;
    if (!namedItem)
        return E_POINTER;
    *namedItem = nullptr;
    if (!name)
        return E_INVALIDARG;
    WideSplitName wanted = SplitWideName(name);
    for (Node* attribute = FirstAttribute(); attribute; attribute = attribute->next)
        if (HasWrittenName(attribute, wanted))
            return ReturnNode(element_->Tree(), attribute, namedItem);
    return S_FALSE;
}

STDMETHODIMP AttributeMap::get_item(LONG index, IXMLDOMNode** listItem) {
    HRESULT hr;
    if (DomCallFails(&hr, listItem))
        return hr;
    if (!listItem)
        return E_POINTER;
    *listItem = nullptr;
    if (index < 0)
        return E_INVALIDARG;
    Node* attribute = FirstAttribute();
    for (; attribute && index > 0; --index)
        attribute = attribute->next;
    if (!attribute)
        return S_FALSE;
    return ReturnNode(element_->Tree(), attribute, listItem);
}

STDMETHODIMP AttributeMap::get_length(LONG* listLength) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!listLength)
        return E_POINTER;
    LONG count = 0;
    for (Node* attribute = FirstAttribute(); attribute; attribute = attribute->next)
        ++count;
    *listLength = count;
    return S_OK;
}

} // namespace ptbridge::standin
