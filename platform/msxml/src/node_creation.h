// createNode: new unattached nodes with qualified names and namespaces.
#pragma once

#include "dom_node.h"
#include "node_store.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

// Makes a node of the DOM node type `kind`: an element (1) or attribute (2)
// named `qualifiedName` in namespace `uri` (empty: none), or an empty text (3)
// or comment (8) node, whose name is ignored.
//
// A prefixed element or attribute needs a namespace. An unprefixed attribute
// has no namespace whatever `uri` says, as in XML. An unprefixed element with
// a namespace is in that default namespace. Names of namespace declarations
// ("xmlns", "xmlns:p") are refused: declarations are not attributes here.
// E_INVALIDARG for a refused name or kind.
HRESULT CreateDetachedNode(NodeStore& store, DocumentNode* doc, LONG kind,
                           const std::string& qualifiedName, const std::string& uri,
                           Node** created);

} // namespace ptbridge::standin
