// Visits every node of a subtree in document order without recursion, so that
// deep trees cannot exhaust the stack: the node itself, for elements their
// attributes and the attributes' text, then the children.
#pragma once

#include <libxml/tree.h>

template <class Visit> void VisitAttributeSubtree(xmlNodePtr attribute, Visit& visit) {
    visit(attribute);
    for (xmlNodePtr text = attribute->children; text; text = text->next)
        visit(text);
}

template <class Visit> void VisitSubtree(xmlNodePtr top, Visit visit) {
    if (top->type == XML_ATTRIBUTE_NODE) {
        VisitAttributeSubtree(top, visit);
        return;
    }
    xmlNodePtr node = top;
    while (true) {
        visit(node);
        if (node->type == XML_ELEMENT_NODE)
            for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next)
                VisitAttributeSubtree(reinterpret_cast<xmlNodePtr>(attribute), visit);
        bool hasChildList = node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE;
        if (hasChildList && node->children) {
            node = node->children;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        if (node == top)
            return;
        node = node->next;
    }
}
