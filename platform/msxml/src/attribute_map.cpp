#include "attribute_map.h"

#include "node_names.h"
#include "utf_text.h"

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
    if (OpeningFails(&hr, namedItem))
        return hr;
    if (!name)
        return E_INVALIDARG;
    return Guarded([&] {
        std::string wanted = Utf8FromWide(name);
        xmlNodePtr element = element_->TreeNode();
        for (xmlNsPtr declaration = element->nsDef; declaration; declaration = declaration->next)
            if (DeclarationName(declaration) == wanted)
                return ReturnObject(ObjectFor(element_->Owner(), declaration, element), namedItem);
        SplitName split = SplitQualifiedName(wanted);
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
            auto node = reinterpret_cast<xmlNodePtr>(attribute);
            if (HasWrittenName(node, split))
                return ReturnObject(ObjectFor(element_->Owner(), node), namedItem);
        }
        return S_FALSE;
    });
}

STDMETHODIMP AttributeMap::get_item(LONG index, IXMLDOMNode** listItem) {
    HRESULT hr;
    if (OpeningFails(&hr, listItem))
        return hr;
    if (index < 0)
        return E_INVALIDARG;
    xmlNodePtr element = element_->TreeNode();
    xmlNsPtr declaration = element->nsDef;
    for (; declaration && index > 0; --index)
        declaration = declaration->next;
    if (declaration)
        return ReturnObject(ObjectFor(element_->Owner(), declaration, element), listItem);
    xmlAttrPtr attribute = element->properties;
    for (; attribute && index > 0; --index)
        attribute = attribute->next;
    if (!attribute)
        return S_FALSE;
    return ReturnObject(ObjectFor(element_->Owner(), reinterpret_cast<xmlNodePtr>(attribute)),
                        listItem);
}

STDMETHODIMP AttributeMap::get_length(LONG* listLength) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!listLength)
        return E_INVALIDARG;
    LONG count = 0;
    xmlNodePtr element = element_->TreeNode();
    for (xmlNsPtr declaration = element->nsDef; declaration; declaration = declaration->next)
        ++count;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
        ++count;
    *listLength = count;
    return S_OK;
}

} // namespace ptbridge::standin
