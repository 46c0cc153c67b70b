// Small helpers shared by the DOM helpers' implementations.
#pragma once

#include "common/platform.h"

// Exact, case-sensitive comparison of whole texts; a null BSTR is the empty text.
inline bool SameText(const WCHAR* text, const WCHAR* wanted) {
    if (!text)
        return wanted[0] == 0;
    size_t i = 0;
    while (text[i] && text[i] == wanted[i])
        ++i;
    return text[i] == wanted[i];
}
