#include "node_names.h"

namespace ptbridge::standin {

SplitName SplitQualifiedName(const std::string& name) {
    size_t colon = name.find(':');
    if (colon == std::string::npos)
        return {std::string(), name};
    return {name.substr(0, colon), name.substr(colon + 1)};
}

xmlNsPtr NamespaceOf(xmlNodePtr node) {
    if (node->type == XML_ELEMENT_NODE)
        return node->ns;
    if (node->type == XML_ATTRIBUTE_NODE)
        return reinterpret_cast<xmlAttrPtr>(node)->ns;
    return nullptr;
}

const xmlChar* PrefixOf(xmlNodePtr node) {
    xmlNsPtr ns = NamespaceOf(node);
    return ns ? ns->prefix : nullptr;
}

std::string NodeName(xmlNodePtr node) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
        std::string name;
        if (const xmlChar* prefix = PrefixOf(node))
            name.append(Text(prefix)).append(1, ':');
        return name.append(Text(node->name));
    }
    case XML_PI_NODE:
        return Text(node->name);
    case XML_TEXT_NODE:
        return "#text";
    case XML_CDATA_SECTION_NODE:
        return "#cdata-section";
    case XML_COMMENT_NODE:
        return "#comment";
    case XML_DOCUMENT_NODE:
        return "#document";
    default:
        return "";
    }
}

std::string DeclarationName(xmlNsPtr declaration) {
    std::string name = "xmlns";
    if (declaration->prefix)
        name.append(1, ':').append(Text(declaration->prefix));
    return name;
}

bool HasWrittenName(xmlNodePtr node, const SplitName& name) {
    if (!xmlStrEqual(node->name, XmlText(name.local)))
        return false;
    const xmlChar* prefix = PrefixOf(node);
    return prefix ? xmlStrEqual(prefix, XmlText(name.prefix)) : name.prefix.empty();
}

bool AttributesClash(xmlAttrPtr a, xmlAttrPtr b) {
    auto first = reinterpret_cast<xmlNodePtr>(a);
    auto second = reinterpret_cast<xmlNodePtr>(b);
    if (NodeName(first) == NodeName(second))
        return true;
    return a->ns && b->ns && xmlStrEqual(a->ns->href, b->ns->href) && xmlStrEqual(a->name, b->name);
}

bool IsXmlName(const std::string& text, bool qualified) {
    return (qualified ? xmlValidateQName(XmlText(text), 0) : xmlValidateNCName(XmlText(text), 0)) ==
           0;
}

} // namespace ptbridge::standin
