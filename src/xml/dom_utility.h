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

// Whether the node's text is exactly `wanted`; a failure to read it is returned.
inline HRESULT TextIs(IXMLDOMNode* node, const WCHAR* wanted, bool* same) {
    BSTR text = nullptr;
    HRESULT hr = node->get_text(&text);
    *same = hr == S_OK && SameText(text, wanted);
    SysFreeString(text);
    return hr;
}

// Walks `list` with nextNode from its current position until `matches`
// accepts a node, and hands that node out as an element. `matches(node,
// &matched)` answers S_OK to go on, matched or not; any other answer ends the
// walk and is returned, and so is a failure of nextNode. S_FALSE when the list
// ends first.
template <typename Matches>
HRESULT FindElementInList(IXMLDOMNodeList* list, Matches matches, IXMLDOMElement** element) {
    HRESULT result = S_OK;
    IXMLDOMNode* found = nullptr;
    while (result == S_OK && !found) {
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
            found = node;
            node = nullptr;
        }
        ReleaseAndClear(node);
    }
    if (!found)
        return result == S_OK ? S_FALSE : result;
    HRESULT hr = found->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
    found->Release();
    return hr;
}
