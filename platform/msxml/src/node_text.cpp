#include "node_text.h"

#include "utf_text.h"

namespace {
// The node's text when it is held in one place, as it nearly always is (an
// attribute value, a Value element's text), so that it need not be gathered
// into a copy first.
bool FindSoleText(xmlNodePtr node, const xmlChar** text) {
    switch (node->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        *text = node->content;
        return true;
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
        xmlNodePtr child = node->children;
        bool sole = child && !child->next &&
                    (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE);
        if (sole)
            *text = child->content;
        return sole;
    }
    default:
        return false;
    }
}
} // namespace

HRESULT ReturnNodeText(xmlNodePtr node, BSTR* out) {
    const xmlChar* sole = nullptr;
    if (FindSoleText(node, &sole))
        return ReturnBstr(sole, out);
    xmlChar* content = xmlNodeGetContent(node);
    HRESULT hr = ReturnBstr(content, out);
    xmlFree(content);
    return hr;
}
