// Keeps namespace references of moved and created nodes sound.
//
// Elements and attributes point at namespace declarations owned by an element
// in scope. A node that leaves its place, or is created unattached, may not
// point at declarations outside its own subtree: such references are parked on
// stand-in declarations owned by the document (its parked list), keeping the
// prefix and URI as written. When the subtree joins the document tree, each
// parked reference is bound again: to the declaration in scope when it binds
// the same prefix to the same URI (so no declaration is repeated), otherwise to
// a new declaration on the element itself.
#pragma once

#include "dom_node.h"
#include "node_store.h"

namespace ptbridge::standin {

// The document-owned stand-in declaration for (prefix, uri); the predefined
// xml namespace for the prefix "xml". Null when out of memory.
Namespace* ParkedNamespace(NodeStore& store, DocumentNode* doc, const char* prefix,
                           const char* uri);

// The nearest declaration of the prefix (null: the default namespace) on the
// element or its ancestors; null when none.
Namespace* FindDeclaration(Node* element, const char* prefix);

// Parks every reference from the subtree at `top` to a declaration outside it.
void ParkOutsideReferences(NodeStore& store, DocumentNode* doc, Node* top);

// Re-points references to another document's predefined xml namespace (nodes
// moved over from a freshly parsed document) at this document's.
void ParkForeignReferences(DocumentNode* doc, DocumentNode* from, Node* top);

// Binds every parked reference in the subtree at `top`, which now sits in the
// document tree, and undeclares an inherited default namespace on elements
// that have none.
void BindParkedReferences(NodeStore& store, DocumentNode* doc, Node* top);

} // namespace ptbridge::standin
