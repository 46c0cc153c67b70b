// getElementsByTagName: elements below a node whose tag name, as written with
// its prefix, equals the name ("*" matches every element), in document order.
#pragma once

#include "dom_node.h"

#include <string>
#include <vector>

std::vector<Node*> ElementsByTagName(Node* under, const std::string& tagName);

// The same search, remembering its last answer while the tree's elements stay
// as they were: searches for the same name often follow one another with only
// attribute edits between them (a feature found, renamed, then its parent
// looked for). `generation` names the state of the tree; it changes whenever
// elements are added, removed, moved or freed.
class RememberedSearch {
  public:
    std::vector<Node*> Find(Node* under, const std::string& tagName, unsigned long long generation);

  private:
    bool valid_ = false;
    Node* under_ = nullptr;
    std::string tagName_;
    unsigned long long generation_ = 0;
    std::vector<Node*> found_;
};
