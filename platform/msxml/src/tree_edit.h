// Structural edits of a document's tree.
//
// Nodes that leave the tree are handed to the document's owner, which keeps
// them (objects may still stand for them, and they may join the tree again);
// nodes that join the document tree get their namespaces bound
// (namespace_binding.h). Nodes are linked by hand rather than with
// xmlAddChild, which merges adjacent text nodes and replaces attributes of the
// same name by freeing nodes that objects may stand for.
#pragma once

#include "document_owner.h"
#include "windows.h"

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

// Makes `child` the last child of `parent`, moving it with its subtree.
// E_INVALIDARG for what cannot go there: a node other than an element, text,
// CDATA section, comment or processing instruction; a parent other than an
// element or the document; a second root element, or text, in the document;
// an ancestor of the parent.
HRESULT AppendChild(xmlNodePtr parent, xmlNodePtr child);

// Detaches a direct child; E_INVALIDARG for anything else.
HRESULT RemoveChild(DocumentOwner& owner, xmlNodePtr parent, xmlNodePtr child);

// Attaches a detached attribute to the element, after detaching the attribute
// of the element that clashes with it, which comes back through *replaced
// (null when there is none). Attaching an attribute of the element again does
// nothing; E_INVALIDARG for an attribute of another element.
HRESULT SetAttribute(DocumentOwner& owner, xmlNodePtr element, xmlAttrPtr attribute,
                     xmlAttrPtr* replaced);

// Adds a declaration made outside the tree to the element. E_INVALIDARG when
// the element declares the prefix already, when its own name has the prefix
// in another namespace, or when a prefix would be bound to no namespace.
HRESULT AddDeclaration(DocumentOwner& owner, xmlNodePtr element, xmlNsPtr declaration);

// put_text: an element's children are replaced by one text node (none for an
// empty text); an attribute takes the text as its value, a text, CDATA,
// comment or processing-instruction node as its content. E_FAIL for the
// document.
HRESULT SetText(DocumentOwner& owner, xmlNodePtr node, const std::string& text);

// Replaces the document's content (and its XML declaration's version and
// standalone) with a copy of the content of `from`.
HRESULT ReplaceContent(DocumentOwner& owner, xmlDocPtr from);

// Empties the document: its children leave the tree, and its XML declaration
// is that of a new document. E_OUTOFMEMORY leaves it as it was.
HRESULT ClearContent(DocumentOwner& owner);

} // namespace ptbridge::standin
