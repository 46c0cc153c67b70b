#include "namespace_binding.h"

#include "subtree_walk.h"
#include "utf_text.h"

#include <string>
#include <unordered_set>

namespace {
const xmlChar* const XmlPrefix = BAD_CAST "xml";

bool InList(xmlNsPtr list, xmlNsPtr ns) {
    for (; list; list = list->next)
        if (list == ns)
            return true;
    return false;
}

// The predefined xml namespace, which libxml2 keeps at the head of oldNs.
xmlNsPtr XmlNamespace(xmlDocPtr doc) {
    return xmlSearchNs(doc, reinterpret_cast<xmlNodePtr>(doc), XmlPrefix);
}

bool IsParked(xmlDocPtr doc, xmlNsPtr ns) {
    return ns && InList(doc->oldNs, ns) && !xmlStrEqual(ns->prefix, XmlPrefix);
}

bool IsNamed(xmlNodePtr node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
}

// Declares the URI on the element under a prefix that nothing in scope uses.
xmlNsPtr DeclareFreshPrefix(xmlNodePtr element, const xmlChar* uri) {
    for (unsigned i = 0;; ++i) {
        std::string prefix = "ns" + std::to_string(i);
        if (!FindDeclaration(element, XmlText(prefix)))
            return xmlNewNs(element, uri, XmlText(prefix));
    }
}

// The declaration that an element, or one of its attributes, should use for a
// parked (prefix, uri): the one in scope when it binds the prefix to the same
// URI. Otherwise an element redeclares the prefix on itself, which shadows the
// outer binding for itself only. An attribute may do so only when nothing in
// scope uses the prefix: the element's own name could rely on the outer
// binding, so a clashing attribute gets a fresh prefix instead.
xmlNsPtr Bind(xmlNodePtr element, xmlNsPtr parked, bool forAttribute) {
    xmlNsPtr inScope = FindDeclaration(element, parked->prefix);
    if (inScope && xmlStrEqual(inScope->href, parked->href))
        return inScope;
    bool mayRedeclare = !forAttribute || !inScope;
    xmlNsPtr declared = mayRedeclare ? xmlNewNs(element, parked->href, parked->prefix) : nullptr;
    return declared ? declared : DeclareFreshPrefix(element, parked->href);
}

void BindElement(xmlDocPtr doc, xmlNodePtr element) {
    if (IsParked(doc, element->ns)) {
        element->ns = Bind(element, element->ns, false);
    } else if (!element->ns) {
        xmlNsPtr inherited = FindDeclaration(element, nullptr);
        if (inherited && inherited->href && inherited->href[0])
            xmlNewNs(element, BAD_CAST "", nullptr);
    }
}
} // namespace

xmlNsPtr ParkedNamespace(xmlDocPtr doc, const xmlChar* prefix, const xmlChar* uri) {
    xmlNsPtr last = XmlNamespace(doc);
    if (xmlStrEqual(prefix, XmlPrefix))
        return last;
    for (xmlNsPtr ns = last->next; ns; ns = ns->next) {
        if (xmlStrEqual(ns->prefix, prefix) && xmlStrEqual(ns->href, uri))
            return ns;
        last = ns;
    }
    last->next = xmlNewNs(nullptr, uri, prefix);
    return last->next;
}

xmlNsPtr FindDeclaration(xmlNodePtr element, const xmlChar* prefix) {
    for (xmlNodePtr node = element; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            if (xmlStrEqual(ns->prefix, prefix))
                return ns;
    return nullptr;
}

void ParkOutsideReferences(xmlDocPtr doc, xmlNodePtr top) {
    std::unordered_set<xmlNsPtr> inside;
    VisitSubtree(top, [&inside](xmlNodePtr node) {
        if (node->type == XML_ELEMENT_NODE)
            for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
                inside.insert(ns);
    });
    VisitSubtree(top, [&inside, doc](xmlNodePtr node) {
        if (IsNamed(node) && node->ns && !inside.count(node->ns) && !InList(doc->oldNs, node->ns))
            node->ns = ParkedNamespace(doc, node->ns->prefix, node->ns->href);
    });
}

void ParkForeignReferences(xmlDocPtr doc, xmlDocPtr from, xmlNodePtr top) {
    VisitSubtree(top, [doc, from](xmlNodePtr node) {
        if (IsNamed(node) && node->ns && InList(from->oldNs, node->ns))
            node->ns = ParkedNamespace(doc, node->ns->prefix, node->ns->href);
    });
}

void BindParkedReferences(xmlDocPtr doc, xmlNodePtr top) {
    VisitSubtree(top, [doc](xmlNodePtr node) {
        if (node->type == XML_ELEMENT_NODE)
            BindElement(doc, node);
        else if (node->type == XML_ATTRIBUTE_NODE && IsParked(doc, node->ns))
            node->ns = Bind(node->parent, node->ns, true);
    });
}
