#include "node_names.h"

#include "utf_text.h"

SplitName SplitQualifiedName(const std::string& name) {
    size_t colon = name.find(':');
    if (colon == std::string::npos)
        return {std::string(), name};
    return {name.substr(0, colon), name.substr(colon + 1)};
}

const xmlChar* PrefixOf(xmlNodePtr node) {
    bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
    return named && node->ns ? node->ns->prefix : nullptr;
}

std::string NodeName(xmlNodePtr node) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
        std::string name;
        if (const xmlChar* prefix = PrefixOf(node))
            name.append(CharText(prefix)).append(1, ':');
        return name.append(CharText(node->name));
    }
    case XML_PI_NODE:
        return CharText(node->name);
    case XML_TEXT_NODE:
        return "#text";
    case XML_CDATA_SECTION_NODE:
        return "#cdata-section";
    case XML_COMMENT_NODE:
        return "#comment";
    case XML_DOCUMENT_NODE:
        return "#document";
    case XML_DOCUMENT_FRAG_NODE:
        return "#document-fragment";
    default:
        return node->name ? CharText(node->name) : "";
    }
}

bool HasWrittenName(xmlNodePtr node, const SplitName& name) {
    const xmlChar* prefix = PrefixOf(node);
    bool prefixMatches = prefix ? name.prefix == CharText(prefix) : name.prefix.empty();
    return prefixMatches && name.local == CharText(node->name);
}

bool AttributesClash(xmlAttrPtr a, xmlAttrPtr b) {
    auto first = reinterpret_cast<xmlNodePtr>(a);
    auto second = reinterpret_cast<xmlNodePtr>(b);
    if (NodeName(first) == NodeName(second))
        return true;
    return a->ns && b->ns && xmlStrEqual(a->ns->href, b->ns->href) && xmlStrEqual(a->name, b->name);
}
