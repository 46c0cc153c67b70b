// getElementsByTagName: elements below a node whose tag name, as written with
// its prefix, equals the name ("*" matches every element), in document order.
#pragma once

#include "dom_node.h"

#include <string>
#include <vector>

std::vector<Node*> ElementsByTagName(Node* under, const std::string& tagName);

// The same search, remembering its last answer while nothing that could
// change it happens: searches for the same name often follow one another with
// only attribute edits, or edits elsewhere in the tree, between them (a
// feature found, renamed, an option added to it, then the features searched
// again).
class RememberedSearch {
  public:
    std::vector<Node*> Find(Node* under, const std::string& tagName);

    // Called before the subtree at `top` joins a tree, leaves it or is freed:
    // forgets the answer when the subtree holds an element of the remembered
    // name or the node the search ran below.
    void Changing(Node* top);
    void Forget() { valid_ = false; }

  private:
    bool valid_ = false;
    Node* under_ = nullptr;
    std::string tagName_;
    std::vector<Node*> found_;
};
