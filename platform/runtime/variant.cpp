// VARIANT lifetime and the conversions the plug-in and its host use: integers
// to decimal text, and copies of the same type.
#include "platform_testing.h"
#include "windows.h"

#include <string>

namespace {
bool IsInteger(VARTYPE vt) {
    return vt == VT_I4 || vt == VT_INT;
}

HRESULT IntegerToText(const VARIANT& source, VARIANT& result) {
    std::string digits = std::to_string(source.lVal);
    std::u16string text(digits.begin(), digits.end());
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value)
        return E_OUTOFMEMORY;
    result.vt = VT_BSTR;
    result.bstrVal = value;
    return S_OK;
}
} // namespace

extern "C" void VariantInit(VARIANTARG* pvarg) {
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
    pvarg->byref = nullptr;
}

extern "C" HRESULT VariantClear(VARIANTARG* pvarg) {
    if (!pvarg)
        return E_INVALIDARG;
    if (pvarg->vt == VT_BSTR)
        SysFreeString(pvarg->bstrVal);
    else if ((pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) && pvarg->punkVal)
        pvarg->punkVal->Release();
    VariantInit(pvarg);
    return S_OK;
}

extern "C" HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    VARIANT copy = *pvargSrc;
    if (copy.vt == VT_BSTR && pvargSrc->bstrVal) {
        copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
        if (!copy.bstrVal)
            return E_OUTOFMEMORY;
    } else if ((copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) && copy.punkVal) {
        copy.punkVal->AddRef();
    }
    VariantClear(pvargDest);
    *pvargDest = copy;
    return S_OK;
}

extern "C" HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc,
                                     USHORT /*wFlags*/, VARTYPE vt) {
    if (!pvargDest || !pvarSrc)
        return E_INVALIDARG;
    if (pvarSrc->vt == vt)
        return pvargDest == pvarSrc ? S_OK : VariantCopy(pvargDest, pvarSrc);
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = DISP_E_TYPEMISMATCH;
    if (vt == VT_BSTR && IsInteger(pvarSrc->vt)) {
        hr = IntegerToText(*pvarSrc, result);
    } else if (IsInteger(vt) && IsInteger(pvarSrc->vt)) {
        result.vt = vt;
        result.lVal = pvarSrc->lVal;
        hr = S_OK;
    }
    if (FAILED(hr))
        return hr;
    VariantClear(pvargDest);
    *pvargDest = result;
    return S_OK;
}
