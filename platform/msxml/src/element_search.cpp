#include "element_search.h"

#include "node_names.h"

std::vector<xmlNodePtr> ElementsByTagName(xmlNodePtr under, const std::string& tagName) {
    std::vector<xmlNodePtr> found;
    bool any = tagName == "*";
    SplitName name = SplitQualifiedName(tagName);
    xmlNodePtr node = under->children;
    while (node) {
        if (node->type == XML_ELEMENT_NODE && (any || HasWrittenName(node, name)))
            found.push_back(node);
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node != under && !node->next)
            node = node->parent;
        node = node == under ? nullptr : node->next;
    }
    return found;
}
