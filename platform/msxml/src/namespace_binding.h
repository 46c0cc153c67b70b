// Keeps the namespaces of created and moved nodes sound.
//
// An element or attribute points at the declaration (xmlNs) that binds its
// prefix. A node made by createNode, whose place is not known yet, points at
// a declaration "parked" in the document's own list, beside the predefined xml
// namespace, which saving never writes. A node that leaves its place keeps
// pointing at the declaration it had, which may end up out of its scope.
// Whenever a subtree joins the document tree, BindNamespaces points each of
// its elements and attributes at a declaration in scope that binds the same
// prefix to the same namespace, so that no declaration is repeated, and
// declares what is missing:
// - an element declares its prefix on itself, shadowing any outer binding for
//   its own subtree; an element in no namespace undeclares an inherited
//   default namespace (xmlns="");
// - an attribute declares its prefix on its element when nothing in scope
//   binds it, and otherwise, as the element's own name may rely on the outer
//   binding, takes a fresh prefix ("ns0", "ns1", ... the first that nothing in
//   scope declares).
#pragma once

#include <libxml/tree.h>

namespace ptbridge::standin {

// The parked declaration of (prefix, uri) for nodes made outside the tree;
// the document's xml namespace for the prefix "xml". Null when out of memory.
xmlNsPtr ParkedNamespace(xmlDocPtr doc, const xmlChar* prefix, const xmlChar* uri);

// Binds every element and attribute of the subtree at `top`, which now lies in
// the document tree (an attribute binds on its element). False when out of
// memory; the nodes not bound yet keep their names.
bool BindNamespaces(xmlNodePtr top);

} // namespace ptbridge::standin
