#include "dom_node.h"

namespace ptbridge::standin {

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

} // namespace ptbridge::standin
