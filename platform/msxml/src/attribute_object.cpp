#include "attribute_object.h"

#include "utf_text.h"

namespace ptbridge::standin {

STDMETHODIMP AttributeObject::get_name(BSTR* attributeName) {
    return Guarded([&] { return GetNodeName(attributeName); });
}

STDMETHODIMP AttributeObject::get_value(VARIANT* attributeValue) {
    HRESULT hr;
    if (DomCallFails(&hr, attributeValue))
        return hr;
    if (!attributeValue)
        return E_INVALIDARG;
    VariantInit(attributeValue);
    return Guarded([&] {
        std::string text;
        HRESULT read = ReadText(&text);
        if (read == S_OK)
            read = ReturnBstr(text, &attributeValue->bstrVal);
        if (read == S_OK)
            attributeValue->vt = VT_BSTR;
        return read;
    });
}

STDMETHODIMP AttributeObject::put_value(VARIANT attributeValue) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (attributeValue.vt == VT_BSTR)
        return Guarded([&] { return WriteText(Utf8FromWide(attributeValue.bstrVal)); });
    VARIANT text;
    VariantInit(&text);
    hr = VariantChangeType(&text, &attributeValue, 0, VT_BSTR);
    if (hr == S_OK)
        hr = Guarded([&] { return WriteText(Utf8FromWide(text.bstrVal)); });
    VariantClear(&text);
    return hr;
}

} // namespace ptbridge::standin
