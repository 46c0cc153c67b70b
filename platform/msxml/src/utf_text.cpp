#include "utf_text.h"

#include <climits>
#include <cstring>

namespace ptbridge::standin {

namespace {
size_t WideLength(const WCHAR* text) {
    size_t length = 0;
    if (text)
        while (text[length])
            ++length;
    return length;
}

// A new BSTR holding the text, or null when allocation fails or the text is
// not UTF-8.
BSTR BstrFromUtf8(const char* text, size_t length) {
    size_t units = 0;
    if (length > UINT_MAX || !Utf16FromUtf8(text, length, nullptr, &units))
        return nullptr;
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (out)
        Utf16FromUtf8(text, length, out, &units);
    return out;
}
} // namespace

std::string Utf8FromWide(const WCHAR* text) {
    return Utf8FromUtf16(text, WideLength(text));
}

HRESULT ReturnBstr(const char* text, BSTR* out) {
    *out = text ? BstrFromUtf8(text, std::strlen(text)) : BstrFromUtf8("", 0);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnBstr(const std::string& text, BSTR* out) {
    *out = BstrFromUtf8(text.data(), text.size());
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace ptbridge::standin
