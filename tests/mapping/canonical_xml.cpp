#include "canonical_xml.h"

#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {
bool IsBlank(const xmlChar* text) {
    for (; text && *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r')
            return false;
    }
    return true;
}

// Drops indentation: whitespace-only text nodes anywhere below `node`.
void DropBlankText(xmlNodePtr node) {
    xmlNodePtr child = node->children;
    while (child) {
        xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && IsBlank(child->content)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            DropBlankText(child);
        }
        child = next;
    }
}
} // namespace

std::string CanonicalXml(const std::string& xml) {
    const std::string unparsable = "<unparsable: " + xml + ">";
    xmlDocPtr document =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (!document)
        return unparsable;
    if (xmlDocGetRootElement(document))
        DropBlankText(xmlDocGetRootElement(document));
    xmlChar* canonical = nullptr;
    int length = xmlC14NDocDumpMemory(document, nullptr, XML_C14N_1_0, nullptr, 0, &canonical);
    std::string result =
        length < 0 ? unparsable : std::string(reinterpret_cast<char*>(canonical), length);
    xmlFree(canonical);
    xmlFreeDoc(document);
    return result;
}
