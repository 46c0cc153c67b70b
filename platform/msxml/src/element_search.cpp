#include "element_search.h"

#include "node_names.h"
#include "subtree_walk.h"

#include <algorithm>
#include <cstdint>

namespace ptbridge::standin {

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
    auto known = std::find_if(answers_.begin(), answers_.end(), [&](const Answer& answer) {
        return answer.under == under && answer.tagName == tagName;
    });
    if (known == answers_.end()) {
        if (answers_.size() == Remembered)
            answers_.pop_back();
        answers_.push_back({under, tagName, ElementsByTagName(under, tagName)});
        known = answers_.end() - 1;
    }
    std::rotate(answers_.begin(), known, known + 1);
    return answers_.front().found;
}

void RememberedSearch::Changing(Node* top) {
    for (auto answer = answers_.begin(); answer != answers_.end();) {
        bool any = answer->tagName == "*";
        SplitName name = SplitQualifiedName(answer->tagName);
        bool changes = false;
        VisitSubtree(top, [&](Node* node) {
            changes = changes || node == answer->under ||
                      (IsElement(node) && (any || HasWrittenName(node, name)));
        });
        answer = changes ? answers_.erase(answer) : answer + 1;
    }
}

} // namespace ptbridge::standin
