#include "default_framework_variant.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <functional>
#include <set>

namespace {
const char* const FrameworkUri =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";

// Local names the plug-in searches for with getElementsByTagName.
const std::set<std::string> SearchedNames = {"Feature", "Option", "Property", "ScoredProperty",
                                             "Value"};

std::string Text(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool IsFramework(const xmlNs* ns) {
    return ns && ns->href && Text(ns->href) == FrameworkUri;
}

void ForEachElement(xmlNodePtr node, const std::function<void(xmlNodePtr)>& visit) {
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            visit(node);
            ForEachElement(node->children, visit);
        }
    }
}

// What in the document keeps it from a faithful default-namespace variant.
std::string Obstacle(xmlNodePtr root, std::set<std::string>* frameworkPrefixes) {
    std::string obstacle;
    auto note = [&](const std::string& reason) {
        if (obstacle.empty())
            obstacle = reason;
    };
    for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
        if (IsFramework(ns) && ns->prefix)
            frameworkPrefixes->insert(Text(ns->prefix));
    }
    if (frameworkPrefixes->size() > 1)
        note("the root binds the framework namespace to more than one prefix");
    ForEachElement(root, [&](xmlNodePtr element) {
        for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
            std::string prefix = Text(ns->prefix);
            if (!ns->prefix && !IsFramework(ns))
                note(Text(ns->href).empty()
                         ? "an element undeclares the default namespace"
                         : "the document uses another default namespace (" + Text(ns->href) + ")");
            else if (element != root && IsFramework(ns))
                note("the framework namespace is declared below the root element (as the "
                     "default namespace of the root it would change what the scenario tests)");
            else if (element != root && frameworkPrefixes->count(prefix))
                note("the framework prefix \"" + prefix + "\" is bound again below the root");
        }
        if (!IsFramework(element->ns) && SearchedNames.count(Text(element->name)))
            note("<" + (element->ns && element->ns->prefix ? Text(element->ns->prefix) + ":" : "") +
                 Text(element->name) +
                 "> is outside the framework namespace, but Wine's getElementsByTagName, which "
                 "compares local names only, would find it as a framework element");
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
            if (IsFramework(attribute->ns))
                note("the framework attribute " + Text(attribute->ns->prefix) + ":" +
                     Text(attribute->name) + " cannot be written without a prefix");
        }
        if (element->ns && element->ns->prefix && IsFramework(element->ns) &&
            !frameworkPrefixes->count(Text(element->ns->prefix)))
            note("an element uses a framework prefix the root does not declare");
    });
    return obstacle;
}

// "psf:Local" becomes "Local" for every framework prefix; other text stays.
std::string WithoutFrameworkPrefix(const std::string& value,
                                   const std::set<std::string>& frameworkPrefixes) {
    size_t start = value.find_first_not_of(" \t\r\n");
    size_t end = value.find_last_not_of(" \t\r\n");
    if (start == std::string::npos)
        return value;
    std::string core = value.substr(start, end - start + 1);
    size_t colon = core.find(':');
    if (colon == std::string::npos || !frameworkPrefixes.count(core.substr(0, colon)) ||
        core.find_first_of(" \t\r\n:", colon + 1) != std::string::npos)
        return value;
    return value.substr(0, start) + core.substr(colon + 1) + value.substr(end + 1);
}

void RewriteText(xmlNodePtr node, const std::set<std::string>& frameworkPrefixes) {
    auto rewrite = [&](xmlNodePtr holder) {
        xmlChar* content = xmlNodeGetContent(holder);
        std::string before = Text(content);
        xmlFree(content);
        std::string after = WithoutFrameworkPrefix(before, frameworkPrefixes);
        if (after != before)
            xmlNodeSetContent(holder, reinterpret_cast<const xmlChar*>(after.c_str()));
    };
    ForEachElement(node, [&](xmlNodePtr element) {
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
            rewrite(reinterpret_cast<xmlNodePtr>(attribute));
        for (xmlNodePtr child = element->children; child; child = child->next) {
            if (child->type == XML_TEXT_NODE)
                rewrite(child);
        }
    });
}
} // namespace

FrameworkVariant MakeDefaultFrameworkVariant(const std::string& xml) {
    FrameworkVariant variant;
    xmlDocPtr document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlNodePtr root = document ? xmlDocGetRootElement(document) : nullptr;
    if (!root) {
        variant.reason = "the document does not parse";
        xmlFreeDoc(document);
        return variant;
    }
    std::set<std::string> frameworkPrefixes;
    variant.reason = Obstacle(root, &frameworkPrefixes);
    if (variant.reason.empty()) {
        if (!frameworkPrefixes.empty()) {
            xmlNsPtr defaultNs = xmlSearchNs(document, root, nullptr);
            if (!IsFramework(defaultNs))
                defaultNs = xmlNewNs(root, reinterpret_cast<const xmlChar*>(FrameworkUri), nullptr);
            ForEachElement(root, [&](xmlNodePtr element) {
                if (IsFramework(element->ns))
                    element->ns = defaultNs;
            });
            // The root's framework prefix now names nothing: drop its declaration.
            for (xmlNsPtr* link = &root->nsDef; *link;) {
                xmlNsPtr ns = *link;
                if (IsFramework(ns) && ns->prefix) {
                    *link = ns->next;
                    ns->next = nullptr;
                    xmlFreeNs(ns);
                } else {
                    link = &ns->next;
                }
            }
            RewriteText(root, frameworkPrefixes);
        }
        xmlChar* text = nullptr;
        int length = 0;
        xmlDocDumpMemoryEnc(document, &text, &length, "UTF-8");
        variant.text.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
        xmlFree(text);
        variant.servable = true;
    }
    xmlFreeDoc(document);
    return variant;
}
