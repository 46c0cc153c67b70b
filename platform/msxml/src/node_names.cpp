#include "node_names.h"

#include "utf_text.h"

#include <algorithm>
#include <cstring>

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

// The local name decides most comparisons, so it is compared first.
bool HasWrittenName(xmlNodePtr node, const SplitName& name) {
    if (static_cast<xmlChar>(name.local[0]) != node->name[0] ||
        std::strcmp(name.local.c_str(), CharText(node->name)) != 0)
        return false;
    const xmlChar* prefix = PrefixOf(node);
    return prefix ? std::strcmp(name.prefix.c_str(), CharText(prefix)) == 0 : name.prefix.empty();
}

bool HasWrittenName(xmlNodePtr node, const WCHAR* name) {
    const WCHAR* end = name + WideLength(name);
    const WCHAR* colon = std::find(name, end, u':');
    const WCHAR* prefixEnd = colon == end ? name : colon;
    const WCHAR* local = colon == end ? name : colon + 1;
    if (!SameAsUtf8(local, end, node->name))
        return false;
    const xmlChar* prefix = PrefixOf(node);
    return prefix ? SameAsUtf8(name, prefixEnd, prefix) : prefixEnd == name;
}

bool AttributesClash(xmlAttrPtr a, xmlAttrPtr b) {
    auto first = reinterpret_cast<xmlNodePtr>(a);
    auto second = reinterpret_cast<xmlNodePtr>(b);
    if (NodeName(first) == NodeName(second))
        return true;
    return a->ns && b->ns && xmlStrEqual(a->ns->href, b->ns->href) && xmlStrEqual(a->name, b->name);
}
