// The nodes of the stand-in DOM's own tree.
//
// A parsed PrintCapabilities document is mostly small elements, attributes and
// the whitespace between them, so every kind of node takes only the fields it
// needs: a text node is 48 bytes, an attribute 64 (its value is held in the
// attribute itself, not in a child text node), an element 88. Nodes and the
// texts read by the parser live in the document's NodeStore; names and
// namespace URIs are shared through its dictionary.
#pragma once

#include "msxml6.h"

#include <cstdint>

namespace ptbridge::standin {

constexpr char XmlNamespaceUri[] = "http://www.w3.org/XML/1998/namespace";

// A namespace declaration: on an element (its list of declarations), or owned
// by the document for nodes whose binding is not settled yet (see
// namespace_binding.h). The default namespace has a null prefix; an empty URI
// undeclares it.
struct Namespace {
    Namespace* next = nullptr;
    const char* uri = nullptr;
    const char* prefix = nullptr;
};

struct Node {
    DOMNodeType type;
    // The content (or value) was allocated for an edit and is freed with the
    // node or when it is replaced; otherwise it belongs to the store.
    bool ownsContent = false;
    Node* parent = nullptr;
    Node* next = nullptr;
    Node* prev = nullptr;
    // The node's COM object while it has one.
    void* object = nullptr;

    explicit Node(DOMNodeType kind) : type(kind) {}
};

// Text, CDATA sections and comments.
struct TextNode : Node {
    const char* content = "";
    using Node::Node;
};

struct ProcessingInstruction : Node {
    const char* target = "";
    const char* content = "";
    ProcessingInstruction() : Node(NODE_PROCESSING_INSTRUCTION) {}
};

struct Attribute : Node {
    const char* name = "";
    Namespace* ns = nullptr;
    const char* value = "";
    Attribute() : Node(NODE_ATTRIBUTE) {}
};

// Elements and the document: the nodes with children.
struct ParentNode : Node {
    Node* children = nullptr;
    Node* last = nullptr;
    using Node::Node;
};

struct Element : ParentNode {
    const char* name = "";
    Namespace* ns = nullptr;
    Attribute* attributes = nullptr;
    Namespace* declarations = nullptr;
    Element() : ParentNode(NODE_ELEMENT) {}
};

struct DocumentNode : ParentNode {
    // Declarations owned by the document: the predefined xml namespace first,
    // then those of nodes whose binding is not settled yet.
    Namespace* parked = nullptr;
    // From the XML declaration, for saving: version, and standalone as 1
    // (yes), 0 (no) or -1 (not given).
    const char* version = "1.0";
    int standalone = -1;
    // Whether white space is kept as written by the next load.
    bool preserveWhiteSpace = false;
    DocumentNode() : ParentNode(NODE_DOCUMENT) {}
};

inline bool IsElement(const Node* node) {
    return node->type == NODE_ELEMENT;
}
inline bool HasChildList(const Node* node) {
    return node->type == NODE_ELEMENT || node->type == NODE_DOCUMENT;
}
inline bool IsTextLike(const Node* node) {
    return node->type == NODE_TEXT || node->type == NODE_CDATA_SECTION ||
           node->type == NODE_COMMENT;
}

inline Element* AsElement(Node* node) {
    return IsElement(node) ? static_cast<Element*>(node) : nullptr;
}
inline ParentNode* AsParent(Node* node) {
    return HasChildList(node) ? static_cast<ParentNode*>(node) : nullptr;
}
inline Attribute* AsAttribute(Node* node) {
    return node->type == NODE_ATTRIBUTE ? static_cast<Attribute*>(node) : nullptr;
}

// Links a node that has no parent as the last child of `parent`.
inline void LinkLastChild(ParentNode* parent, Node* child) {
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

// The first child of an element or the document; null for other nodes.
inline Node* FirstChild(Node* node) {
    ParentNode* parent = AsParent(node);
    return parent ? parent->children : nullptr;
}

// The name and namespace of an element or attribute; null for other nodes.
inline const char* LocalNameOf(const Node* node) {
    if (node->type == NODE_ELEMENT)
        return static_cast<const Element*>(node)->name;
    if (node->type == NODE_ATTRIBUTE)
        return static_cast<const Attribute*>(node)->name;
    return nullptr;
}
inline Namespace* NamespaceOf(const Node* node) {
    if (node->type == NODE_ELEMENT)
        return static_cast<const Element*>(node)->ns;
    if (node->type == NODE_ATTRIBUTE)
        return static_cast<const Attribute*>(node)->ns;
    return nullptr;
}
void SetNamespace(Node* node, Namespace* ns);

// The document's element, or null.
Element* RootElement(DocumentNode* document);

// The top of the tree the node is in: the document, or the root of a detached
// subtree.
Node* TopOf(Node* node);

} // namespace ptbridge::standin
