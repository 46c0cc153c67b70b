// Visits every node of a subtree in document order without recursion, so that
// deep trees cannot exhaust the stack: the node itself, for elements their
// attributes, then the children.
#pragma once

#include "dom_node.h"

namespace ptbridge::standin {

template <class Visit> void VisitSubtree(Node* top, Visit visit) {
    Node* node = top;
    while (true) {
        visit(node);
        if (Element* element = AsElement(node))
            for (Attribute* attribute = element->attributes; attribute;
                 attribute = static_cast<Attribute*>(attribute->next))
                visit(attribute);
        if (Node* child = FirstChild(node)) {
            node = child;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        if (node == top)
            return;
        node = node->next;
    }
}

} // namespace ptbridge::standin
