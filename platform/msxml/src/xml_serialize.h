// Serialising documents and nodes to UTF-8 markup, exactly as the tree stands
// (no reindenting): elements with their namespace declarations first, then
// their attributes; empty elements as <name/>.
#pragma once

#include "dom_node.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

// The whole document with an XML declaration naming UTF-8, each top-level
// node followed by a line break.
HRESULT SerializeDocument(DocumentNode* doc, std::string* xml);

// The markup of one node, as the xml property shows it: an element with its
// subtree, an attribute as name="value", a text node escaped; the document as
// an XML declaration without encoding followed by its content.
HRESULT SerializeNode(Node* node, std::string* xml);

} // namespace ptbridge::standin
