// Writing documents and nodes as UTF-8 markup with libxml2's serialiser,
// exactly as the tree stands (no reindenting): on each element its namespace
// declarations first, then its attributes; empty elements as <name/>.
#pragma once

#include "windows.h"

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

// The whole document, after an XML declaration naming its version, UTF-8 and
// (when the loaded text said) standalone; each top-level node on a line.
HRESULT SaveDocument(xmlDocPtr doc, std::string* xml);

// The xml property of a node: an element with its subtree (and the
// declarations made on its elements only), an attribute as name="value", a
// text node escaped; the document as <?xml version="1.0"?> and its content.
HRESULT NodeMarkup(xmlNodePtr node, std::string* xml);

} // namespace ptbridge::standin
