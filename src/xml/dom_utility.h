// Small helpers shared by the DOM helpers' implementations.
#pragma once

#include "common/com_ptr.h"
#include "common/platform.h"
#include "common/same_text.h"
#include "xml/xml_dom_helper.h"

#include <utility>

namespace ptbridge {

// Whether the node's text is exactly `wanted`; a failure to read it is returned.
inline HRESULT TextIs(IXMLDOMNode* node, const WCHAR* wanted, bool* same) {
    UniqueBstr text;
    HRESULT hr = node->get_text(text.Put());
    *same = hr == S_OK && SameText(text.Get(), wanted);
    return hr;
}

// How a node of a list search compares with what is wanted.
enum class NodeMatch { No, Yes, LacksName };

// Walks `list` with nextNode from its current position until `matches`
// accepts a node, and hands that node out as an element. `matches(node,
// &match)` answers S_OK with the node's NodeMatch; any other answer ends the
// walk and is returned, and so is a failure of nextNode. S_FALSE when the list
// ends first, or when `atNameless` stops the walk.
template <typename Matches>
HRESULT FindElementInList(IXMLDOMNodeList* list, Matches matches, AtNameless atNameless,
                          IXMLDOMElement** element) {
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
        NodeMatch match = NodeMatch::No;
        result = matches(node.Get(), &match);
        if (result == S_OK && match == NodeMatch::Yes)
            found = std::move(node);
        else if (result == S_OK && match == NodeMatch::LacksName && atNameless == AtNameless::Stop)
            result = S_FALSE;
    }
    if (!found)
        return result == S_OK ? S_FALSE : result;
    return found.QueryTo(IID_IXMLDOMElement, element);
}

} // namespace ptbridge
