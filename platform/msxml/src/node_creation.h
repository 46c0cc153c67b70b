// createNode: new nodes outside the tree, kept by the document's owner until
// they join it.
#pragma once

#include "node_object.h"

#include <string>

namespace ptbridge::standin {

// Makes a node of the DOM node type `kind`: an element (1) or attribute (2)
// named `qualifiedName` in namespace `uri` (empty: none), or an empty text (3)
// or comment (8) node, whose name is ignored. *created receives its object.
//
// A prefixed element or attribute needs a namespace, and the prefix "xml" goes
// with the xml namespace only. An unprefixed attribute has no namespace,
// whatever `uri` says; an unprefixed element with a namespace is in that
// default namespace. An attribute named "xmlns" or "xmlns:p" is a namespace
// declaration (declaration_object.h), whose namespace must be empty or
// http://www.w3.org/2000/xmlns/. E_INVALIDARG for a refused name or kind.
HRESULT CreateNode(DocumentOwner* owner, LONG kind, const std::string& qualifiedName,
                   const std::string& uri, NodeObject** created);

} // namespace ptbridge::standin
