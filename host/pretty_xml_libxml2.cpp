#include "pretty_xml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {
// Removes the whitespace-only text between elements, which the parser keeps
// where an element holds nothing else (as an edit that removes an element's
// last child leaves behind), so that the formatter can indent every element.
void RemoveBlankText(xmlNodePtr node) {
    xmlNodePtr child = node->children;
    while (child) {
        xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && xmlIsBlankNode(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            RemoveBlankText(child);
        }
        child = next;
    }
}
} // namespace

std::string PrettyPrintXml(const std::string& xml) {
    int options = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDocPtr document =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, options);
    if (!document)
        return xml;
    if (xmlNodePtr root = xmlDocGetRootElement(document))
        RemoveBlankText(root);
    xmlChar* formatted = nullptr;
    int length = 0;
    xmlDocDumpFormatMemoryEnc(document, &formatted, &length, "UTF-8", 1);
    xmlFreeDoc(document);
    if (!formatted)
        return xml;
    std::string result(reinterpret_cast<const char*>(formatted), static_cast<size_t>(length));
    xmlFree(formatted);
    return result;
}
