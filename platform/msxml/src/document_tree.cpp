#include "document_tree.h"

#include "namespace_binding.h"
#include "subtree_walk.h"

namespace ptbridge::standin {

namespace {
bool IsChildKind(DOMNodeType type) {
    return type == NODE_ELEMENT || type == NODE_TEXT || type == NODE_CDATA_SECTION ||
           type == NODE_COMMENT || type == NODE_PROCESSING_INSTRUCTION;
}

void LinkLastAttribute(Element* element, Attribute* attribute) {
    attribute->parent = element;
    attribute->next = nullptr;
    attribute->prev = nullptr;
    if (!element->attributes) {
        element->attributes = attribute;
        return;
    }
    Node* last = element->attributes;
    while (last->next)
        last = last->next;
    last->next = attribute;
    attribute->prev = last;
}

// Takes a node out of its parent's child or attribute list.
void Unlink(Node* node) {
    Node* parent = node->parent;
    if (!parent)
        return;
    if (node->type == NODE_ATTRIBUTE) {
        auto element = static_cast<Element*>(parent);
        if (element->attributes == node)
            element->attributes = static_cast<Attribute*>(node->next);
    } else {
        auto owner = static_cast<ParentNode*>(parent);
        if (owner->children == node)
            owner->children = node->next;
        if (owner->last == node)
            owner->last = node->prev;
    }
    if (node->prev)
        node->prev->next = node->next;
    if (node->next)
        node->next->prev = node->prev;
    node->parent = node->next = node->prev = nullptr;
}

void FreeNamespaces(NodeStore& store, Namespace* ns) {
    while (ns) {
        Namespace* next = ns->next;
        store.FreeNamespace(ns);
        ns = next;
    }
}

void FreeOwnParts(NodeStore& store, Node* node) {
    if (node->type == NODE_DOCUMENT)
        FreeNamespaces(store, static_cast<DocumentNode*>(node)->parked);
    Element* element = AsElement(node);
    if (!element)
        return;
    for (Node* attribute = element->attributes; attribute;) {
        Node* next = attribute->next;
        store.FreeNode(attribute);
        attribute = next;
    }
    FreeNamespaces(store, element->declarations);
}
} // namespace

DocumentNode* NewDocumentNode(NodeStore& store) {
    auto document = store.New<DocumentNode>();
    if (!document)
        return nullptr;
    const char* prefix = store.Intern("xml", 3);
    const char* uri = store.Intern(XmlNamespaceUri, sizeof XmlNamespaceUri - 1);
    document->parked = prefix && uri ? store.NewNamespace(prefix, uri) : nullptr;
    if (!document->parked) {
        store.FreeNode(document);
        return nullptr;
    }
    return document;
}

void FreeSubtree(NodeStore& store, Node* top) {
    Node* node = top;
    while (true) {
        while (Node* child = FirstChild(node))
            node = child;
        // Every node reached here has no children left: free it, then go on
        // with its next sibling, or its parent once the last child is gone.
        while (true) {
            Node* next = node == top ? nullptr : node->next;
            Node* parent = node->parent;
            FreeOwnParts(store, node);
            store.FreeNode(node);
            if (node == top)
                return;
            if (next) {
                node = next;
                break;
            }
            node = parent;
        }
    }
}

DocumentTree::DocumentTree(std::unique_ptr<NodeStore> store, DocumentNode* doc)
    : store_(std::move(store)), doc_(doc) {}

// The store takes every node, detached or not, with it.
DocumentTree::~DocumentTree() = default;

void DocumentTree::CountObjectIn(Node* node, LONG change) {
    Node* top = TopOf(node);
    auto subtree = detached_.find(top);
    if (subtree == detached_.end())
        return;
    if (change > 0)
        ++subtree->second;
    else
        ObjectsLeft(top, subtree->second - 1);
}

void DocumentTree::Pin() {
    ++pins_;
}

void DocumentTree::Unpin() {
    if (--pins_ > 0)
        return;
    for (Node* top : kept_) {
        auto subtree = detached_.find(top);
        if (subtree != detached_.end() && subtree->second == 0) {
            detached_.erase(subtree);
            Free(top);
        }
    }
    kept_.clear();
}

std::vector<Node*> DocumentTree::ElementsByTagName(Node* under, const std::string& tagName) {
    return search_.Find(under, tagName);
}

void DocumentTree::AdoptCreated(Node* node) {
    ObjectsLeft(node, CountObjects(node));
}

HRESULT DocumentTree::AppendChild(Node* parent, Node* child) {
    if (!IsChildKind(child->type))
        return E_INVALIDARG;
    if (parent->type == NODE_DOCUMENT) {
        Element* root = RootElement(doc_);
        if (child->type == NODE_ELEMENT
                ? root && root != child
                : child->type != NODE_COMMENT && child->type != NODE_PROCESSING_INSTRUCTION)
            return E_INVALIDARG;
    } else if (parent->type != NODE_ELEMENT) {
        return E_INVALIDARG;
    }
    for (Node* ancestor = parent; ancestor; ancestor = ancestor->parent)
        if (ancestor == child)
            return E_INVALIDARG;
    search_.Changing(child);
    Detach(child);
    Attach(parent, child);
    return S_OK;
}

HRESULT DocumentTree::RemoveChild(Node* parent, Node* child) {
    if (child->parent != parent || child->type == NODE_ATTRIBUTE)
        return E_INVALIDARG;
    search_.Changing(child);
    Detach(child);
    return S_OK;
}

HRESULT DocumentTree::SetAttribute(Node* element, Attribute* attribute, Attribute* replaced) {
    if (element->type != NODE_ELEMENT)
        return E_INVALIDARG;
    if (attribute->parent == element)
        return S_OK;
    if (attribute->parent)
        return E_INVALIDARG;
    if (replaced)
        Detach(replaced);
    Attach(element, attribute);
    return S_OK;
}

HRESULT DocumentTree::ReplaceText(Node* node, const std::string& text) {
    switch (node->type) {
    case NODE_ELEMENT: {
        TextNode* replacement = nullptr;
        if (!text.empty()) {
            replacement = store_->New<TextNode>(NODE_TEXT);
            if (!replacement)
                return E_OUTOFMEMORY;
            if (!store_->SetOwnedText(replacement, &replacement->content, text)) {
                store_->FreeNode(replacement);
                return E_OUTOFMEMORY;
            }
        }
        auto element = static_cast<Element*>(node);
        while (element->children) {
            search_.Changing(element->children);
            Detach(element->children);
        }
        if (replacement)
            LinkLastChild(element, replacement);
        return S_OK;
    }
    case NODE_ATTRIBUTE: {
        auto attribute = static_cast<Attribute*>(node);
        return store_->SetOwnedText(attribute, &attribute->value, text) ? S_OK : E_OUTOFMEMORY;
    }
    case NODE_TEXT:
    case NODE_CDATA_SECTION:
    case NODE_COMMENT: {
        auto textNode = static_cast<TextNode*>(node);
        return store_->SetOwnedText(textNode, &textNode->content, text) ? S_OK : E_OUTOFMEMORY;
    }
    case NODE_PROCESSING_INSTRUCTION: {
        auto instruction = static_cast<ProcessingInstruction*>(node);
        return store_->SetOwnedText(instruction, &instruction->content, text) ? S_OK
                                                                              : E_OUTOFMEMORY;
    }
    default:
        return E_FAIL;
    }
}

void DocumentTree::ReplaceContent(DocumentNode* parsed) {
    search_.Forget();
    while (doc_->children)
        Detach(doc_->children);
    Node* child = parsed->children;
    while (child) {
        Node* next = child->next;
        Unlink(child);
        ParkForeignReferences(doc_, parsed, child);
        LinkLastChild(doc_, child);
        BindParkedReferences(*store_, doc_, child);
        child = next;
    }
    doc_->version = parsed->version;
    doc_->standalone = parsed->standalone;
    FreeSubtree(*store_, parsed);
}

bool DocumentTree::InDocument(Node* node) const {
    return TopOf(node) == doc_;
}

LONG DocumentTree::CountObjects(Node* top) const {
    LONG count = 0;
    VisitSubtree(top, [&count](Node* node) {
        if (node->object)
            ++count;
    });
    return count;
}

void DocumentTree::Detach(Node* node) {
    Node* formerTop = TopOf(node);
    if (formerTop == node)
        return;
    ParkOutsideReferences(*store_, doc_, node);
    Unlink(node);
    LONG moved = CountObjects(node);
    auto former = detached_.find(formerTop);
    if (former != detached_.end())
        ObjectsLeft(formerTop, former->second - moved);
    ObjectsLeft(node, moved);
}

void DocumentTree::Attach(Node* parent, Node* node) {
    LONG moving = 0;
    auto subtree = detached_.find(node);
    if (subtree != detached_.end()) {
        moving = subtree->second;
        detached_.erase(subtree);
    }
    if (node->type == NODE_ATTRIBUTE)
        LinkLastAttribute(static_cast<Element*>(parent), static_cast<Attribute*>(node));
    else
        LinkLastChild(static_cast<ParentNode*>(parent), node);
    if (InDocument(parent))
        BindParkedReferences(*store_, doc_, node);
    else
        detached_[TopOf(parent)] += moving;
}

void DocumentTree::ObjectsLeft(Node* top, LONG count) {
    if (count > 0 || pins_ > 0) {
        detached_[top] = count;
        if (count == 0)
            kept_.push_back(top);
        return;
    }
    detached_.erase(top);
    Free(top);
}

void DocumentTree::Free(Node* top) {
    // A search remembered below a freed element could otherwise be taken for
    // one below a new element made at the same address.
    search_.Changing(top);
    FreeSubtree(*store_, top);
}

} // namespace ptbridge::standin
