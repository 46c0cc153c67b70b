#include "attribute_object.h"

#include "node_text.h"
#include "utf_text.h"

namespace ptbridge::standin {

STDMETHODIMP AttributeObject::get_name(BSTR* attributeName) {
    return GetNodeName(attributeName);
}

STDMETHODIMP AttributeObject::get_value(VARIANT* attributeValue) {
    HRESULT hr;
    if (DomCallFails(&hr, attributeValue))
        return hr;
    if (!attributeValue)
        return E_POINTER;
    VariantInit(attributeValue);
    hr = ReturnNodeText(TreeNode(), &attributeValue->bstrVal);
    if (hr == S_OK)
        attributeValue->vt = VT_BSTR;
    return hr;
}

STDMETHODIMP AttributeObject::put_value(VARIANT attributeValue) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (attributeValue.vt == VT_BSTR)
        return Tree()->ReplaceText(TreeNode(), Utf8FromWide(attributeValue.bstrVal));
    VARIANT text;
    VariantInit(&text);
    hr = VariantChangeType(&text, &attributeValue, 0, VT_BSTR);
    if (hr == S_OK)
        hr = Tree()->ReplaceText(TreeNode(), Utf8FromWide(text.bstrVal));
    VariantClear(&text);
    return hr;
}

} // namespace ptbridge::standin
