// The text property of a node: for an element (or the document) the text of
// all its descendants joined, for an attribute its value, for text-like nodes
// their content.
#pragma once

#include "dom_node.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

// Stores a new BSTR of the node's text in *out: S_OK, or E_OUTOFMEMORY with
// *out null.
HRESULT ReturnNodeText(Node* node, BSTR* out);

} // namespace ptbridge::standin
