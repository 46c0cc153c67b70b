#include "tree_edit.h"

#include "namespace_binding.h"
#include "node_names.h"

#include <vector>

namespace ptbridge::standin {

namespace {
bool IsChildKind(xmlElementType type) {
    return type == XML_ELEMENT_NODE || type == XML_TEXT_NODE || type == XML_CDATA_SECTION_NODE ||
           type == XML_COMMENT_NODE || type == XML_PI_NODE;
}

void LinkLastChild(xmlNodePtr parent, xmlNodePtr child) {
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

void LinkLastAttribute(xmlNodePtr element, xmlAttrPtr attribute) {
    attribute->parent = element;
    attribute->next = nullptr;
    attribute->prev = nullptr;
    if (!element->properties) {
        element->properties = attribute;
        return;
    }
    xmlAttrPtr last = element->properties;
    while (last->next)
        last = last->next;
    last->next = attribute;
    attribute->prev = last;
}

// Hands every child of `parent` to the owner and detaches it; nothing moves
// when the owner cannot keep them all.
bool DetachChildren(DocumentOwner& owner, xmlNodePtr parent) {
    for (xmlNodePtr child = parent->children; child; child = child->next)
        if (!owner.KeepOutside(child))
            return false;
    while (parent->children)
        xmlUnlinkNode(parent->children);
    return true;
}

HRESULT SetAttributeValue(xmlAttrPtr attribute, const std::string& text) {
    xmlNodePtr value = xmlNewDocText(attribute->doc, XmlText(text));
    if (!value)
        return E_OUTOFMEMORY;
    // The value's text nodes are never handed out, so no object stands for them.
    xmlFreeNodeList(attribute->children);
    attribute->children = attribute->last = value;
    value->parent = reinterpret_cast<xmlNodePtr>(attribute);
    return S_OK;
}

HRESULT SetContent(xmlNodePtr node, const std::string& text) {
    xmlChar* content = xmlStrdup(XmlText(text));
    if (!content)
        return E_OUTOFMEMORY;
    xmlNodeSetContent(node, nullptr);
    node->content = content;
    return S_OK;
}
} // namespace

HRESULT AppendChild(xmlNodePtr parent, xmlNodePtr child) {
    if (!IsChildKind(child->type))
        return E_INVALIDARG;
    if (parent->type == XML_DOCUMENT_NODE) {
        xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
        bool fits = child->type == XML_ELEMENT_NODE
                        ? !root || root == child
                        : child->type == XML_COMMENT_NODE || child->type == XML_PI_NODE;
        if (!fits)
            return E_INVALIDARG;
    } else if (parent->type != XML_ELEMENT_NODE) {
        return E_INVALIDARG;
    }
    for (xmlNodePtr ancestor = parent; ancestor; ancestor = ancestor->parent)
        if (ancestor == child)
            return E_INVALIDARG;
    xmlUnlinkNode(child);
    LinkLastChild(parent, child);
    if (InDocument(parent) && !BindNamespaces(child))
        return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT RemoveChild(DocumentOwner& owner, xmlNodePtr parent, xmlNodePtr child) {
    if (child->parent != parent || child->type == XML_ATTRIBUTE_NODE)
        return E_INVALIDARG;
    if (!owner.KeepOutside(child))
        return E_OUTOFMEMORY;
    xmlUnlinkNode(child);
    return S_OK;
}

HRESULT SetAttribute(DocumentOwner& owner, xmlNodePtr element, xmlAttrPtr attribute,
                     xmlAttrPtr* replaced) {
    *replaced = nullptr;
    if (element->type != XML_ELEMENT_NODE)
        return E_INVALIDARG;
    if (attribute->parent == element)
        return S_OK;
    if (attribute->parent)
        return E_INVALIDARG;
    xmlAttrPtr existing = element->properties;
    while (existing && !AttributesClash(existing, attribute))
        existing = existing->next;
    if (existing) {
        if (!owner.KeepOutside(reinterpret_cast<xmlNodePtr>(existing)))
            return E_OUTOFMEMORY;
        xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(existing));
    }
    LinkLastAttribute(element, attribute);
    *replaced = existing;
    if (InDocument(element) && !BindNamespaces(reinterpret_cast<xmlNodePtr>(attribute)))
        return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT AddDeclaration(DocumentOwner& owner, xmlNodePtr element, xmlNsPtr declaration) {
    const xmlChar* prefix = declaration->prefix;
    const xmlChar* uri = declaration->href;
    bool empty = !uri || !uri[0];
    bool clashesWithOwnName = element->ns ? xmlStrEqual(element->ns->prefix, prefix) &&
                                                !xmlStrEqual(element->ns->href, uri)
                                          : !prefix && !empty;
    if (element->type != XML_ELEMENT_NODE || (prefix && empty) || clashesWithOwnName)
        return E_INVALIDARG;
    xmlNsPtr* end = &element->nsDef;
    for (; *end; end = &(*end)->next)
        if (xmlStrEqual((*end)->prefix, prefix))
            return E_INVALIDARG;
    *end = declaration;
    declaration->next = nullptr;
    owner.Adopted(declaration);
    owner.NoteUri(uri);
    // The new declaration may shadow one that nodes below rely on.
    if (InDocument(element) && !BindNamespaces(element))
        return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT SetText(DocumentOwner& owner, xmlNodePtr node, const std::string& text) {
    switch (node->type) {
    case XML_ELEMENT_NODE: {
        xmlNodePtr replacement = nullptr;
        if (!text.empty() && !(replacement = xmlNewDocText(node->doc, XmlText(text))))
            return E_OUTOFMEMORY;
        if (!DetachChildren(owner, node)) {
            xmlFreeNode(replacement);
            return E_OUTOFMEMORY;
        }
        if (replacement)
            LinkLastChild(node, replacement);
        return S_OK;
    }
    case XML_ATTRIBUTE_NODE:
        return SetAttributeValue(reinterpret_cast<xmlAttrPtr>(node), text);
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        return SetContent(node, text);
    default:
        return E_FAIL;
    }
}

HRESULT ReplaceContent(DocumentOwner& owner, xmlDocPtr from) {
    xmlDocPtr doc = owner.Doc();
    std::vector<xmlNodePtr> copies;
    size_t count = 0;
    for (xmlNodePtr child = from->children; child; child = child->next)
        ++count;
    copies.reserve(count);
    xmlChar* version = xmlStrdup(from->version ? from->version : BAD_CAST "1.0");
    bool copied = version != nullptr;
    for (xmlNodePtr child = from->children; copied && child; child = child->next) {
        xmlNodePtr copy = xmlDocCopyNode(child, doc, 1);
        copied = copy != nullptr;
        if (copy)
            copies.push_back(copy);
    }
    if (!copied || !DetachChildren(owner, reinterpret_cast<xmlNodePtr>(doc))) {
        for (xmlNodePtr copy : copies)
            xmlFreeNode(copy);
        xmlFree(version);
        return E_OUTOFMEMORY;
    }
    for (xmlNodePtr copy : copies)
        LinkLastChild(reinterpret_cast<xmlNodePtr>(doc), copy);
    xmlFree(const_cast<xmlChar*>(doc->version));
    doc->version = version;
    doc->standalone = from->standalone;
    return S_OK;
}

HRESULT ClearContent(DocumentOwner& owner) {
    xmlDocPtr doc = owner.Doc();
    xmlChar* version = xmlStrdup(BAD_CAST "1.0");
    if (!version || !DetachChildren(owner, reinterpret_cast<xmlNodePtr>(doc))) {
        xmlFree(version);
        return E_OUTOFMEMORY;
    }
    xmlFree(const_cast<xmlChar*>(doc->version));
    doc->version = version;
    // As xmlNewDoc leaves it: no standalone declaration.
    doc->standalone = -1;
    return S_OK;
}

} // namespace ptbridge::standin
