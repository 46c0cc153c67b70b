#include "namespace_binding.h"

#include <string>
#include <unordered_set>

namespace ptbridge::standin {

namespace {
const xmlChar* const XmlPrefix = BAD_CAST "xml";

// The nearest declaration of `prefix` (null: the default namespace) on the
// element or its ancestors; null when there is none.
xmlNsPtr DeclarationInScope(xmlNodePtr element, const xmlChar* prefix) {
    for (xmlNodePtr node = element; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            if (xmlStrEqual(ns->prefix, prefix))
                return ns;
    return nullptr;
}

// The document's predefined xml namespace, first in its own list.
xmlNsPtr XmlNamespace(xmlDocPtr doc) {
    return xmlSearchNs(doc, reinterpret_cast<xmlNodePtr>(doc), XmlPrefix);
}

// Declares the URI on the element under a prefix that nothing in scope uses.
// Linear in the declarations in scope, however many "nsN" are taken.
xmlNsPtr DeclareFreshPrefix(xmlNodePtr element, const xmlChar* uri) {
    std::unordered_set<std::string> taken;
    for (xmlNodePtr node = element; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            if (ns->prefix)
                taken.insert(reinterpret_cast<const char*>(ns->prefix));
    for (size_t i = 0;; ++i) {
        std::string prefix = "ns" + std::to_string(i);
        if (!taken.count(prefix))
            return xmlNewNs(element, uri, BAD_CAST prefix.c_str());
    }
}

// The declaration in scope at `element` that gives `ns` the same prefix and
// URI; null when there is none.
xmlNsPtr SameBindingInScope(xmlNodePtr element, xmlNsPtr ns, xmlNsPtr* inScope) {
    *inScope = DeclarationInScope(element, ns->prefix);
    bool same = *inScope && (*inScope == ns || xmlStrEqual((*inScope)->href, ns->href));
    return same ? *inScope : nullptr;
}

bool BindElement(xmlNodePtr element) {
    xmlNsPtr ns = element->ns;
    if (!ns) {
        xmlNsPtr inherited = DeclarationInScope(element, nullptr);
        bool undeclare = inherited && inherited->href && inherited->href[0];
        return !undeclare || xmlNewNs(element, BAD_CAST "", nullptr);
    }
    if (xmlStrEqual(ns->prefix, XmlPrefix)) {
        element->ns = XmlNamespace(element->doc);
        return element->ns != nullptr;
    }
    xmlNsPtr inScope;
    xmlNsPtr bound = SameBindingInScope(element, ns, &inScope);
    if (!bound)
        bound = xmlNewNs(element, ns->href, ns->prefix);
    if (!bound)
        return false;
    element->ns = bound;
    return true;
}

bool BindAttribute(xmlNodePtr element, xmlAttrPtr attribute) {
    xmlNsPtr ns = attribute->ns;
    if (!ns)
        return true;
    if (xmlStrEqual(ns->prefix, XmlPrefix)) {
        attribute->ns = XmlNamespace(element->doc);
        return attribute->ns != nullptr;
    }
    xmlNsPtr inScope;
    xmlNsPtr bound = SameBindingInScope(element, ns, &inScope);
    if (!bound)
        bound = inScope ? DeclareFreshPrefix(element, ns->href)
                        : xmlNewNs(element, ns->href, ns->prefix);
    if (!bound)
        return false;
    attribute->ns = bound;
    return true;
}

bool BindElementAndAttributes(xmlNodePtr element) {
    if (!BindElement(element))
        return false;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next)
        if (!BindAttribute(element, attribute))
            return false;
    return true;
}
} // namespace

xmlNsPtr ParkedNamespace(xmlDocPtr doc, const xmlChar* prefix, const xmlChar* uri) {
    xmlNsPtr last = XmlNamespace(doc);
    if (!last || xmlStrEqual(prefix, XmlPrefix))
        return last;
    for (xmlNsPtr ns = last->next; ns; ns = ns->next) {
        if (xmlStrEqual(ns->prefix, prefix) && xmlStrEqual(ns->href, uri))
            return ns;
        last = ns;
    }
    last->next = xmlNewNs(nullptr, uri, prefix);
    return last->next;
}

bool BindNamespaces(xmlNodePtr top) {
    if (top->type == XML_ATTRIBUTE_NODE)
        return BindAttribute(top->parent, reinterpret_cast<xmlAttrPtr>(top));
    // Elements in document order, without recursion: deep trees cannot
    // exhaust the stack.
    xmlNodePtr node = top;
    while (node) {
        if (node->type == XML_ELEMENT_NODE) {
            if (!BindElementAndAttributes(node))
                return false;
            if (node->children) {
                node = node->children;
                continue;
            }
        }
        while (node != top && !node->next)
            node = node->parent;
        node = node == top ? nullptr : node->next;
    }
    return true;
}

} // namespace ptbridge::standin
