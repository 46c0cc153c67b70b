// The text property of a node: for an element or attribute the text of all
// its descendants joined, for text-like nodes their content.
#pragma once

#include "windows.h"

#include <libxml/tree.h>

// Stores a new BSTR of the node's text in *out: S_OK, or E_OUTOFMEMORY with
// *out null.
HRESULT ReturnNodeText(xmlNodePtr node, BSTR* out);
