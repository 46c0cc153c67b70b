// Comparison of texts as the Print Schema rules compare names and values.
#pragma once

#include "common/platform.h"

namespace ptbridge {

// Exact, case-sensitive comparison of whole texts; a null `text` (an empty
// BSTR) is the empty text.
inline bool SameText(const WCHAR* text, const WCHAR* wanted) {
    if (!text)
        return wanted[0] == 0;
    size_t i = 0;
    while (text[i] && text[i] == wanted[i])
        ++i;
    return text[i] == wanted[i];
}

} // namespace ptbridge
