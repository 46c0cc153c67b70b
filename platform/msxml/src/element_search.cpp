#include "element_search.h"

#include "node_names.h"
#include "subtree_walk.h"

#include <cstdint>

namespace {
// A walk over a large tree waits on memory at every node. The parser makes the
// nodes in document order, so those a walk reaches next mostly lie a little
// further on in memory; asking for the memory this far ahead lets it arrive
// while the walk works through the nodes before it. A wrong guess costs
// nothing: a prefetch never faults.
constexpr size_t PrefetchDistance = 4096;
} // namespace

std::vector<Node*> ElementsByTagName(Node* under, const std::string& tagName) {
    std::vector<Node*> found;
    bool any = tagName == "*";
    SplitName name = SplitQualifiedName(tagName);
    Node* node = FirstChild(under);
    while (node) {
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(node) + PrefetchDistance));
        Element* element = AsElement(node);
        if (element && (any || HasWrittenName(element, name)))
            found.push_back(element);
        if (element && element->children) {
            node = element->children;
            continue;
        }
        while (node != under && !node->next)
            node = node->parent;
        node = node == under ? nullptr : node->next;
    }
    return found;
}

std::vector<Node*> RememberedSearch::Find(Node* under, const std::string& tagName) {
    if (!valid_ || under != under_ || tagName != tagName_) {
        found_ = ElementsByTagName(under, tagName);
        valid_ = true;
        under_ = under;
        tagName_ = tagName;
    }
    return found_;
}

void RememberedSearch::Changing(Node* top) {
    if (!valid_)
        return;
    bool any = tagName_ == "*";
    SplitName name = SplitQualifiedName(tagName_);
    VisitSubtree(top, [&](Node* node) {
        if (node == under_ || (IsElement(node) && (any || HasWrittenName(node, name))))
            valid_ = false;
    });
}
