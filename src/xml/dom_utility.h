// Small helpers shared by the DOM helpers' implementations.
#pragma once

#include "common/platform.h"

template <typename Interface> void ReleaseAndClear(Interface*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

// Exact, case-sensitive comparison of whole texts; a null BSTR is the empty text.
inline bool SameText(const WCHAR* text, const WCHAR* wanted) {
    if (!text)
        return wanted[0] == 0;
    size_t i = 0;
    while (text[i] && text[i] == wanted[i])
        ++i;
    return text[i] == wanted[i];
}

// Walks `list` with nextNode from its current position until `matches`
// accepts a node. `matches(node, &matched)` answers S_OK to go on, matched or
// not; any other answer ends the walk and is returned, and so is a failure of
// nextNode. S_OK gives the node in *found with its reference; S_FALSE is the
// end of the list.
template <typename Matches>
HRESULT FindInList(IXMLDOMNodeList* list, Matches matches, IXMLDOMNode** found) {
    *found = nullptr;
    HRESULT result = S_OK;
    while (result == S_OK && !*found) {
        IXMLDOMNode* node = nullptr;
        HRESULT next = list->nextNode(&node);
        if (next != S_OK) {
            // The end of the list (S_FALSE) only ends the search; a failure is reported.
            if (FAILED(next))
                result = next;
            ReleaseAndClear(node);
            break;
        }
        bool matched = false;
        result = matches(node, &matched);
        if (result == S_OK && matched) {
            *found = node;
            node = nullptr;
        }
        ReleaseAndClear(node);
    }
    if (!*found)
        return result == S_OK ? S_FALSE : result;
    return S_OK;
}
