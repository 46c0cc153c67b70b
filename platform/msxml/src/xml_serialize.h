// Serialising documents and nodes to UTF-8 markup.
#pragma once

#include "windows.h"

#include <libxml/tree.h>

#include <string>

// The whole document with an XML declaration naming UTF-8, exactly as the tree
// stands (no reindenting).
HRESULT SerializeDocument(xmlDocPtr doc, std::string* xml);

// The markup of one node, as the xml property shows it: an element with its
// subtree, an attribute as name="value", a text node escaped; the document as
// an XML declaration without encoding followed by its content.
HRESULT SerializeNode(xmlNodePtr node, std::string* xml);
