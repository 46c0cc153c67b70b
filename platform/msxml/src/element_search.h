// getElementsByTagName: elements below a node whose tag name, as written with
// its prefix, equals the name ("*" matches every element), in document order.
#pragma once

#include "dom_node.h"

#include <string>
#include <vector>

namespace ptbridge::standin {

std::vector<Node*> ElementsByTagName(Node* under, const std::string& tagName);

// The same search, remembering its last few answers while nothing that could
// change them happens: searches for the same name often follow one another
// with only attribute edits, or edits elsewhere in the tree, between them (a
// feature found, renamed, its options searched and edited, then the features
// searched again).
class RememberedSearch {
  public:
    std::vector<Node*> Find(Node* under, const std::string& tagName);

    // Called before the subtree at `top` joins a tree, leaves it or is freed:
    // forgets every answer that the subtree could change, as it holds an
    // element of the answer's name or the node the search ran below.
    void Changing(Node* top);
    void Forget() { answers_.clear(); }

  private:
    struct Answer {
        Node* under;
        std::string tagName;
        std::vector<Node*> found;
    };
    static constexpr size_t Remembered = 4;

    // Most recently used first.
    std::vector<Answer> answers_;
};

} // namespace ptbridge::standin
