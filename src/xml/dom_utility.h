// Small helpers shared by the DOM helpers' implementations.
#pragma once

#include "common/com_ptr.h"
#include "common/platform.h"

#include <utility>

namespace ptbridge {

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
    UniqueBstr text;
    HRESULT hr = node->get_text(text.Put());
    *same = hr == S_OK && SameText(text.Get(), wanted);
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
    ComPtr<IXMLDOMNode> found;
    while (result == S_OK && !found) {
        ComPtr<IXMLDOMNode> node;
        HRESULT next = list->nextNode(node.Put());
        if (next != S_OK) {
            // The end of the list (S_FALSE) only ends the search; a failure is reported.
            if (FAILED(next))
                result = next;
            break;
        }
        bool matched = false;
        result = matches(node.Get(), &matched);
        if (result == S_OK && matched)
            found = std::move(node);
    }
    if (!found)
        return result == S_OK ? S_FALSE : result;
    return found.QueryTo(IID_IXMLDOMElement, element);
}

} // namespace ptbridge
