// One libxml2 document and the lifetime of everything in it.
//
// Every COM node object holds a reference on the tree, so the document lives
// until the document object and all node objects are gone. Nodes outside the
// document tree (created and not yet attached, or removed) are tracked as
// detached subtrees together with the number of node objects inside each: a
// detached subtree is freed as soon as no object refers into it any more.
// All structural edits go through here so that this bookkeeping, and the
// namespace references of moved nodes, stay right.
#pragma once

#include "element_search.h"
#include "windows.h"

#include <libxml/tree.h>

#include <string>
#include <unordered_map>
#include <vector>

class DocumentTree {
  public:
    // Takes ownership of the document; the tree deletes itself when its last
    // reference goes.
    explicit DocumentTree(xmlDocPtr doc);
    DocumentTree(const DocumentTree&) = delete;
    DocumentTree& operator=(const DocumentTree&) = delete;

    xmlDocPtr Doc() const { return doc_; }
    void AddRef();
    void Release();

    // Node objects report their birth and death (xmlNode::_private is set
    // while they live).
    void ObjectCreated(xmlNodePtr node);
    void ObjectDestroyed(xmlNodePtr node);

    // While the tree is pinned (by node lists, which hold nodes without
    // objects), detached subtrees that no object refers into are kept; they
    // are freed when the last pin goes.
    void Pin();
    void Unpin();

    // getElementsByTagName below `under` (see RememberedSearch).
    std::vector<xmlNodePtr> ElementsByTagName(xmlNodePtr under, const std::string& tagName);

    // Registers a node just created for this document as a detached subtree.
    void AdoptCreated(xmlNodePtr node);

    // Makes `child` the last child of `parent`, moving it with its subtree.
    HRESULT AppendChild(xmlNodePtr parent, xmlNodePtr child);
    // Detaches a direct child; E_INVALIDARG for anything else.
    HRESULT RemoveChild(xmlNodePtr parent, xmlNodePtr child);
    // Attaches a detached attribute to the element after detaching `replaced`
    // (an attribute of the element, or null).
    HRESULT SetAttribute(xmlNodePtr element, xmlAttrPtr attribute, xmlAttrPtr replaced);
    // Replaces the children of an element or attribute with one text node
    // (none for empty text), or sets the content of a text-like node.
    HRESULT ReplaceText(xmlNodePtr node, const std::string& text);
    // Replaces the document's content with the content of a parsed document,
    // which is consumed.
    void ReplaceContent(xmlDocPtr parsed);

  private:
    ~DocumentTree();

    xmlNodePtr TopOf(xmlNodePtr node) const;
    bool InDocument(xmlNodePtr node) const;
    LONG CountObjects(xmlNodePtr top) const;
    // Takes the node out of its parent; it becomes a detached subtree, freed
    // at once when no object refers into it.
    void Detach(xmlNodePtr node);
    // Links a detached subtree as the last child (or attribute) of `parent`.
    void Attach(xmlNodePtr parent, xmlNodePtr node);
    void ObjectsLeft(xmlNodePtr top, LONG count);
    void Free(xmlNodePtr top);

    xmlDocPtr doc_;
    LONG references_ = 0;
    LONG pins_ = 0;
    // Changes whenever elements are added, removed, moved or freed.
    unsigned long long generation_ = 0;
    RememberedSearch search_;
    // Detached subtree roots and the number of node objects inside each.
    std::unordered_map<xmlNodePtr, LONG> detached_;
    // Subtrees that lost their last object while the tree was pinned (some may
    // have been attached or gained objects since).
    std::vector<xmlNodePtr> kept_;
};
