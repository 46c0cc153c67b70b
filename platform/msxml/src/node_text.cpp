#include "node_text.h"

#include "utf_text.h"

namespace ptbridge::standin {

namespace {
bool IsText(const Node* node) {
    return node->type == NODE_TEXT || node->type == NODE_CDATA_SECTION;
}

// The node's text when it is held in one place, as it nearly always is (an
// attribute value, a Value element's text), so that it need not be gathered
// into a copy first.
bool FindSoleText(Node* node, const char** text) {
    switch (node->type) {
    case NODE_TEXT:
    case NODE_CDATA_SECTION:
    case NODE_COMMENT:
        *text = static_cast<TextNode*>(node)->content;
        return true;
    case NODE_PROCESSING_INSTRUCTION:
        *text = static_cast<ProcessingInstruction*>(node)->content;
        return true;
    case NODE_ATTRIBUTE:
        *text = static_cast<Attribute*>(node)->value;
        return true;
    case NODE_ELEMENT:
    case NODE_DOCUMENT: {
        Node* child = FirstChild(node);
        if (!child) {
            *text = "";
            return true;
        }
        bool sole = !child->next && IsText(child);
        if (sole)
            *text = static_cast<TextNode*>(child)->content;
        return sole;
    }
    default:
        return false;
    }
}

// The text and CDATA content of every descendant, in document order.
std::string GatherText(Node* top) {
    std::string text;
    Node* node = FirstChild(top);
    while (node) {
        if (IsText(node))
            text += static_cast<TextNode*>(node)->content;
        if (Node* child = FirstChild(node)) {
            node = child;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        node = node == top ? nullptr : node->next;
    }
    return text;
}
} // namespace

HRESULT ReturnNodeText(Node* node, BSTR* out) {
    const char* sole = nullptr;
    if (FindSoleText(node, &sole))
        return ReturnBstr(sole, out);
    std::string text = GatherText(node);
    *out = BstrFromUtf8(text.data(), text.size());
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace ptbridge::standin
