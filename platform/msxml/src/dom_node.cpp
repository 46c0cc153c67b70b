#include "dom_node.h"

const char* LocalNameOf(const Node* node) {
    if (node->type == NODE_ELEMENT)
        return static_cast<const Element*>(node)->name;
    if (node->type == NODE_ATTRIBUTE)
        return static_cast<const Attribute*>(node)->name;
    return nullptr;
}

Namespace* NamespaceOf(const Node* node) {
    if (node->type == NODE_ELEMENT)
        return static_cast<const Element*>(node)->ns;
    if (node->type == NODE_ATTRIBUTE)
        return static_cast<const Attribute*>(node)->ns;
    return nullptr;
}

void SetNamespace(Node* node, Namespace* ns) {
    if (node->type == NODE_ELEMENT)
        static_cast<Element*>(node)->ns = ns;
    else if (node->type == NODE_ATTRIBUTE)
        static_cast<Attribute*>(node)->ns = ns;
}

Element* RootElement(DocumentNode* document) {
    for (Node* child = document->children; child; child = child->next)
        if (IsElement(child))
            return static_cast<Element*>(child);
    return nullptr;
}

Node* TopOf(Node* node) {
    while (node->parent)
        node = node->parent;
    return node;
}
