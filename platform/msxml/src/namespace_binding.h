// Keeps namespace references of moved and created nodes sound.
//
// libxml2 nodes point at namespace declarations (xmlNs) owned by an element in
// scope. A node that leaves its place, or is created unattached, may not point
// at declarations outside its own subtree: such references are parked on
// stand-in declarations owned by the document (its oldNs list), keeping the
// prefix and URI as written. When the subtree joins the document tree, each
// parked reference is bound again: to the declaration in scope when it binds
// the same prefix to the same URI (so no declaration is repeated), otherwise to
// a new declaration on the element itself.
#pragma once

#include <libxml/tree.h>

// The document-owned stand-in declaration for (prefix, uri); the predefined
// xml namespace for the prefix "xml".
xmlNsPtr ParkedNamespace(xmlDocPtr doc, const xmlChar* prefix, const xmlChar* uri);

// The nearest declaration of the prefix (null: the default namespace) on the
// element or its ancestors; null when none.
xmlNsPtr FindDeclaration(xmlNodePtr element, const xmlChar* prefix);

// Parks every reference from the subtree at `top` to a declaration outside it.
void ParkOutsideReferences(xmlDocPtr doc, xmlNodePtr top);

// Parks references that point into another document's stand-in declarations
// (nodes moved over from a freshly parsed document).
void ParkForeignReferences(xmlDocPtr doc, xmlDocPtr from, xmlNodePtr top);

// Binds every parked reference in the subtree at `top`, which now sits in the
// document tree, and undeclares an inherited default namespace on elements
// that have none.
void BindParkedReferences(xmlDocPtr doc, xmlNodePtr top);
