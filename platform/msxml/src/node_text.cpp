#include "node_text.h"

#include "node_names.h"

#include <cstring>
#include <vector>

namespace ptbridge::standin {

namespace {
// The text and CDATA nodes below `top`, in document order.
std::vector<xmlNodePtr> TextNodesBelow(xmlNodePtr top) {
    std::vector<xmlNodePtr> found;
    xmlNodePtr node = top->children;
    while (node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE)
            found.push_back(node);
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node->parent != top && !node->next)
            node = node->parent;
        node = node->next;
    }
    return found;
}

// How much white space the text has at its start (or, with `fromEnd`, its end).
size_t SpaceAtEdge(const char* text, size_t length, bool fromEnd) {
    size_t count = 0;
    while (count < length && IsXmlSpace(fromEnd ? text[length - 1 - count] : text[count]))
        ++count;
    return count;
}

// How much white space may be trimmed from one end of the joined text: runs
// of trimmable text nodes from that end, up to the first other character.
size_t TrimmableEdge(const std::vector<xmlNodePtr>& pieces, bool preserve, bool fromEnd) {
    size_t trimmed = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        xmlNodePtr piece = pieces[fromEnd ? pieces.size() - 1 - i : i];
        bool trimmable = !preserve && piece->type == XML_TEXT_NODE &&
                         xmlNodeGetSpacePreserve(piece->parent) != 1;
        if (!trimmable)
            break;
        const char* content = Text(piece->content);
        size_t length = std::strlen(content);
        size_t space = SpaceAtEdge(content, length, fromEnd);
        trimmed += space;
        if (space < length)
            break;
    }
    return trimmed;
}

bool JoinedText(xmlNodePtr top, bool preserve, std::string* text) {
    std::vector<xmlNodePtr> pieces = TextNodesBelow(top);
    for (xmlNodePtr piece : pieces)
        text->append(Text(piece->content));
    size_t leading = TrimmableEdge(pieces, preserve, false);
    if (leading == text->size()) {
        text->clear();
        return true;
    }
    size_t trailing = TrimmableEdge(pieces, preserve, true);
    text->erase(text->size() - trailing);
    text->erase(0, leading);
    return true;
}
} // namespace

bool NodeText(xmlNodePtr node, bool documentPreservesWhiteSpace, std::string* text) {
    text->clear();
    if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE)
        return JoinedText(node, documentPreservesWhiteSpace, text);
    if (node->type != XML_ATTRIBUTE_NODE) {
        text->assign(Text(node->content));
        return true;
    }
    xmlChar* value = xmlNodeGetContent(node);
    if (!value)
        return false;
    text->assign(Text(value));
    xmlFree(value);
    return true;
}

} // namespace ptbridge::standin
