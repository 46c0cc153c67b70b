// Parsing whole documents with libxml2, safely: no network access, no entity
// substitution, no DTD loading, and documents with a document type
// declaration are refused altogether (as MSXML 6 does by default), which
// also keeps external entities out.
#pragma once

#include "msxml_standin.h"

#include <libxml/tree.h>

#include <string>

enum class TextEncoding {
    Declared, // the XML declaration or byte-order mark decides; UTF-8 otherwise
    Utf8,     // the text is UTF-8 whatever its declaration says
};

enum class NodeStrings {
    // Names and short texts are shared through the document's dictionary, and
    // texts shorter than 16 bytes are kept inside their node: a parsed tree
    // takes much less memory, and the few names a search compares stay in
    // cache. Such nodes never leave their document.
    Shared,
    // Every node owns its strings, so that the nodes can move into another
    // document (loadXML).
    Owned,
};

// The parsed document, or null with *error (when given) filled: malformed XML,
// namespace errors such as undeclared prefixes, and refused DTDs all fail.
xmlDocPtr ParseXml(const std::string& text, TextEncoding encoding, NodeStrings strings,
                   XmlLoadError* error);
