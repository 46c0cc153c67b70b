#include "node_names.h"

#include "utf_text.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>

namespace ptbridge::standin {

SplitName SplitQualifiedName(const std::string& name) {
    size_t colon = name.find(':');
    if (colon == std::string::npos)
        return {std::string(), name};
    return {name.substr(0, colon), name.substr(colon + 1)};
}

const char* PrefixOf(const Node* node) {
    Namespace* ns = NamespaceOf(node);
    return ns ? ns->prefix : nullptr;
}

std::string NodeName(const Node* node) {
    switch (node->type) {
    case NODE_ELEMENT:
    case NODE_ATTRIBUTE: {
        std::string name;
        if (const char* prefix = PrefixOf(node))
            name.append(prefix).append(1, ':');
        return name.append(LocalNameOf(node));
    }
    case NODE_PROCESSING_INSTRUCTION:
        return static_cast<const ProcessingInstruction*>(node)->target;
    case NODE_TEXT:
        return "#text";
    case NODE_CDATA_SECTION:
        return "#cdata-section";
    case NODE_COMMENT:
        return "#comment";
    case NODE_DOCUMENT:
        return "#document";
    default:
        return "";
    }
}

// The local name decides most comparisons, so it is compared first.
bool HasWrittenName(const Node* node, const SplitName& name) {
    const char* local = LocalNameOf(node);
    if (!local || name.local[0] != local[0] || std::strcmp(name.local.c_str(), local) != 0)
        return false;
    const char* prefix = PrefixOf(node);
    return prefix ? std::strcmp(name.prefix.c_str(), prefix) == 0 : name.prefix.empty();
}

WideSplitName SplitWideName(const WCHAR* name) {
    const WCHAR* end = name + WideLength(name);
    const WCHAR* colon = std::find(name, end, u':');
    if (colon == end)
        return {name, name, name, end};
    return {name, colon, colon + 1, end};
}

bool HasWrittenName(const Node* node, const WideSplitName& name) {
    const char* local = LocalNameOf(node);
    if (!local || !SameAsUtf8(name.local, name.end, local))
        return false;
    const char* prefix = PrefixOf(node);
    return prefix ? SameAsUtf8(name.begin, name.prefixEnd, prefix) : name.prefixEnd == name.begin;
}

bool AttributesClash(const Attribute* a, const Attribute* b) {
    if (NodeName(a) == NodeName(b))
        return true;
    return a->ns && b->ns && std::strcmp(a->ns->uri, b->ns->uri) == 0 &&
           std::strcmp(a->name, b->name) == 0;
}

bool IsXmlName(const std::string& text, bool qualified) {
    auto name = reinterpret_cast<const xmlChar*>(text.c_str());
    return (qualified ? xmlValidateQName(name, 0) : xmlValidateNCName(name, 0)) == 0;
}

} // namespace ptbridge::standin
