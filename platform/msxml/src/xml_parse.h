// Parsing whole documents into the stand-in DOM's tree, with libxml2's
// parser, safely: no network access, no DTD loading, and documents with a
// document type declaration are refused altogether (as MSXML 6 does by
// default), which also keeps external entities out.
#pragma once

#include "dom_node.h"
#include "msxml_standin.h"
#include "node_store.h"

#include <string>

namespace ptbridge::standin {

enum class TextEncoding {
    Declared, // the XML declaration or byte-order mark decides; UTF-8 otherwise
    Utf8,     // the text is UTF-8 whatever its declaration says
};

// Builds the document's content into `document`, a new empty document node of
// `store`. False, with *error (when given) filled, when the text is not a
// sound document: malformed XML, namespace errors such as undeclared
// prefixes, refused DTDs. What was built before the failure stays linked
// below `document`, for the caller to free with it.
bool ParseXml(const std::string& text, TextEncoding encoding, NodeStore& store,
              DocumentNode* document, XmlLoadError* error);

} // namespace ptbridge::standin
