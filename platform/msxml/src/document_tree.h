// One document tree and the lifetime of everything in it.
//
// Every COM node object holds a reference on the tree, so the document lives
// until the document object and all node objects are gone. Nodes outside the
// document tree (created and not yet attached, or removed) are tracked as
// detached subtrees together with the number of node objects inside each: a
// detached subtree is freed as soon as no object refers into it any more.
// All structural edits go through here so that this bookkeeping, and the
// namespace references of moved nodes, stay right.
#pragma once

#include "dom_node.h"
#include "element_search.h"
#include "node_store.h"
#include "windows.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ptbridge::standin {

class DocumentTree {
  public:
    // Takes ownership of the store and of the document node made in it; the
    // tree deletes itself when its last reference goes.
    DocumentTree(std::unique_ptr<NodeStore> store, DocumentNode* doc);
    DocumentTree(const DocumentTree&) = delete;
    DocumentTree& operator=(const DocumentTree&) = delete;

    DocumentNode* Doc() const { return doc_; }
    NodeStore& Store() { return *store_; }
    void AddRef() { ++references_; }
    void Release() {
        if (--references_ == 0)
            delete this;
    }

    // Node objects report their birth and death (Node::object is set while
    // they live). With no detached subtree every node lies in the document and
    // there is nothing to count: objects of the document come and go on every
    // step of a search.
    void ObjectCreated(Node* node) {
        if (!detached_.empty())
            CountObjectIn(node, 1);
    }
    void ObjectDestroyed(Node* node) {
        if (!detached_.empty())
            CountObjectIn(node, -1);
    }

    // While the tree is pinned (by node lists, which hold nodes without
    // objects), detached subtrees that no object refers into are kept; they
    // are freed when the last pin goes.
    void Pin();
    void Unpin();

    // getElementsByTagName below `under` (see RememberedSearch).
    std::vector<Node*> ElementsByTagName(Node* under, const std::string& tagName);

    // Registers a node just created for this document as a detached subtree.
    void AdoptCreated(Node* node);

    // Makes `child` the last child of `parent`, moving it with its subtree.
    HRESULT AppendChild(Node* parent, Node* child);
    // Detaches a direct child; E_INVALIDARG for anything else.
    HRESULT RemoveChild(Node* parent, Node* child);
    // Attaches a detached attribute to the element after detaching `replaced`
    // (an attribute of the element, or null).
    HRESULT SetAttribute(Node* element, Attribute* attribute, Attribute* replaced);
    // Replaces the children of an element with one text node (none for empty
    // text), or sets the value of an attribute or the content of a text-like
    // node.
    HRESULT ReplaceText(Node* node, const std::string& text);
    // Replaces the document's content with the content of a document parsed
    // into this tree's store, which is consumed.
    void ReplaceContent(DocumentNode* parsed);

  private:
    ~DocumentTree();

    // Counts an object made or destroyed in a detached subtree.
    void CountObjectIn(Node* node, LONG change);
    bool InDocument(Node* node) const;
    LONG CountObjects(Node* top) const;
    // Takes the node out of its parent; it becomes a detached subtree, freed
    // at once when no object refers into it.
    void Detach(Node* node);
    // Links a detached subtree as the last child (or attribute) of `parent`.
    void Attach(Node* parent, Node* node);
    void ObjectsLeft(Node* top, LONG count);
    void Free(Node* top);

    std::unique_ptr<NodeStore> store_;
    DocumentNode* doc_;
    // Counted without atomic operations, as the node objects' references are.
    LONG references_ = 0;
    LONG pins_ = 0;
    RememberedSearch search_;
    // Detached subtree roots and the number of node objects inside each.
    std::unordered_map<Node*, LONG> detached_;
    // Subtrees that lost their last object while the tree was pinned (some may
    // have been attached or gained objects since).
    std::vector<Node*> kept_;
};

// A new document node in the store, with its predefined xml namespace; null
// when out of memory.
DocumentNode* NewDocumentNode(NodeStore& store);

// Frees a subtree that is not linked into any tree: its nodes, attributes and
// declarations.
void FreeSubtree(NodeStore& store, Node* top);

} // namespace ptbridge::standin
