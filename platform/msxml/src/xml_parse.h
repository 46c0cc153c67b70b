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

// The parsed document, or null with *error (when given) filled: malformed XML,
// namespace errors such as undeclared prefixes, and refused DTDs all fail.
// Names are not interned, so nodes can move between documents.
xmlDocPtr ParseXml(const std::string& text, TextEncoding encoding, XmlLoadError* error);
