// Writing documents and nodes as UTF-8 markup with libxml2's serialiser,
// exactly as the tree stands (no reindenting): on each element its namespace
// declarations first, then its attributes; empty elements as <name/>.
#pragma once

#include "windows.h"

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

// libxml2 writes the URI of a namespace declaration as it stands, so a URI
// holding "&" or "<" would not read back: the functions below escape such
// URIs while they write when `escapeUris` says the tree may hold one (a walk
// over the whole tree finds them). UriNeedsEscaping tells which URIs do.
bool UriNeedsEscaping(const xmlChar* uri);

// The whole document, after an XML declaration naming its version, UTF-8 and
// (when the loaded text said) standalone; each top-level node on a line.
// `expectedSize` is room made beforehand, so that the text is not copied as
// it grows.
HRESULT SaveDocument(xmlDocPtr doc, bool escapeUris, size_t expectedSize, std::string* xml);

// The xml property of a node: an element with its subtree (and the
// declarations made on its elements only), an attribute as name="value", a
// text node escaped; the document as <?xml version="1.0"?> and its content.
HRESULT NodeMarkup(xmlNodePtr node, bool escapeUris, std::string* xml);

} // namespace ptbridge::standin
