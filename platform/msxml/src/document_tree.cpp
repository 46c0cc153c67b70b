#include "document_tree.h"

#include "namespace_binding.h"
#include "subtree_walk.h"
#include "utf_text.h"

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
} // namespace

DocumentTree::DocumentTree(xmlDocPtr doc) : doc_(doc) {}

DocumentTree::~DocumentTree() {
    for (auto& subtree : detached_)
        Free(subtree.first);
    xmlFreeDoc(doc_);
}

void DocumentTree::AddRef() {
    InterlockedIncrement(&references_);
}

void DocumentTree::Release() {
    if (InterlockedDecrement(&references_) == 0)
        delete this;
}

// With no detached subtree every node lies in the document, and the walk up to
// the top is skipped: objects of the document come and go on every search.
void DocumentTree::ObjectCreated(xmlNodePtr node) {
    if (detached_.empty())
        return;
    auto subtree = detached_.find(TopOf(node));
    if (subtree != detached_.end())
        ++subtree->second;
}

void DocumentTree::ObjectDestroyed(xmlNodePtr node) {
    if (detached_.empty())
        return;
    xmlNodePtr top = TopOf(node);
    auto subtree = detached_.find(top);
    if (subtree != detached_.end())
        ObjectsLeft(top, subtree->second - 1);
}

void DocumentTree::Pin() {
    ++pins_;
}

void DocumentTree::Unpin() {
    if (--pins_ > 0)
        return;
    for (xmlNodePtr top : kept_) {
        auto subtree = detached_.find(top);
        if (subtree != detached_.end() && subtree->second == 0) {
            detached_.erase(subtree);
            Free(top);
        }
    }
    kept_.clear();
}

std::vector<xmlNodePtr> DocumentTree::ElementsByTagName(xmlNodePtr under,
                                                        const std::string& tagName) {
    return search_.Find(under, tagName, generation_);
}

void DocumentTree::AdoptCreated(xmlNodePtr node) {
    ObjectsLeft(node, CountObjects(node));
}

HRESULT DocumentTree::AppendChild(xmlNodePtr parent, xmlNodePtr child) {
    if (child->doc != doc_ || !IsChildKind(child->type))
        return E_INVALIDARG;
    if (parent->type == XML_DOCUMENT_NODE) {
        xmlNodePtr root = xmlDocGetRootElement(doc_);
        if (child->type == XML_ELEMENT_NODE
                ? root && root != child
                : child->type != XML_COMMENT_NODE && child->type != XML_PI_NODE)
            return E_INVALIDARG;
    } else if (parent->type != XML_ELEMENT_NODE) {
        return E_INVALIDARG;
    }
    for (xmlNodePtr ancestor = parent; ancestor; ancestor = ancestor->parent)
        if (ancestor == child)
            return E_INVALIDARG;
    ++generation_;
    Detach(child);
    Attach(parent, child);
    return S_OK;
}

HRESULT DocumentTree::RemoveChild(xmlNodePtr parent, xmlNodePtr child) {
    if (child->parent != parent || child->type == XML_ATTRIBUTE_NODE)
        return E_INVALIDARG;
    ++generation_;
    Detach(child);
    return S_OK;
}

HRESULT DocumentTree::SetAttribute(xmlNodePtr element, xmlAttrPtr attribute, xmlAttrPtr replaced) {
    auto node = reinterpret_cast<xmlNodePtr>(attribute);
    if (element->type != XML_ELEMENT_NODE || attribute->doc != doc_)
        return E_INVALIDARG;
    if (node->parent == element)
        return S_OK;
    if (node->parent)
        return E_INVALIDARG;
    if (replaced)
        Detach(reinterpret_cast<xmlNodePtr>(replaced));
    Attach(element, node);
    return S_OK;
}

HRESULT DocumentTree::ReplaceText(xmlNodePtr node, const std::string& text) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
        xmlNodePtr replacement = nullptr;
        if (!text.empty()) {
            replacement = xmlNewDocTextLen(doc_, XmlText(text), static_cast<int>(text.size()));
            if (!replacement)
                return E_OUTOFMEMORY;
        }
        if (node->type == XML_ELEMENT_NODE)
            ++generation_;
        while (node->children)
            Detach(node->children);
        if (replacement)
            LinkLastChild(node, replacement);
        return S_OK;
    }
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        xmlNodeSetContentLen(node, XmlText(text), static_cast<int>(text.size()));
        return S_OK;
    default:
        return E_FAIL;
    }
}

void DocumentTree::ReplaceContent(xmlDocPtr parsed) {
    ++generation_;
    auto document = reinterpret_cast<xmlNodePtr>(doc_);
    while (document->children)
        Detach(document->children);
    xmlNodePtr child = parsed->children;
    while (child) {
        xmlNodePtr next = child->next;
        xmlUnlinkNode(child);
        xmlSetTreeDoc(child, doc_);
        ParkForeignReferences(doc_, parsed, child);
        LinkLastChild(document, child);
        BindParkedReferences(doc_, child);
        child = next;
    }
    xmlFreeDoc(parsed);
}

xmlNodePtr DocumentTree::TopOf(xmlNodePtr node) const {
    while (node->parent)
        node = node->parent;
    return node;
}

bool DocumentTree::InDocument(xmlNodePtr node) const {
    return TopOf(node) == reinterpret_cast<xmlNodePtr>(doc_);
}

LONG DocumentTree::CountObjects(xmlNodePtr top) const {
    LONG count = 0;
    VisitSubtree(top, [&count](xmlNodePtr node) {
        if (node->_private)
            ++count;
    });
    return count;
}

void DocumentTree::Detach(xmlNodePtr node) {
    xmlNodePtr formerTop = TopOf(node);
    if (formerTop == node)
        return;
    ParkOutsideReferences(doc_, node);
    xmlUnlinkNode(node);
    LONG moved = CountObjects(node);
    auto former = detached_.find(formerTop);
    if (former != detached_.end())
        ObjectsLeft(formerTop, former->second - moved);
    ObjectsLeft(node, moved);
}

void DocumentTree::Attach(xmlNodePtr parent, xmlNodePtr node) {
    LONG moving = 0;
    auto subtree = detached_.find(node);
    if (subtree != detached_.end()) {
        moving = subtree->second;
        detached_.erase(subtree);
    }
    if (node->type == XML_ATTRIBUTE_NODE)
        LinkLastAttribute(parent, reinterpret_cast<xmlAttrPtr>(node));
    else
        LinkLastChild(parent, node);
    if (InDocument(parent))
        BindParkedReferences(doc_, node);
    else
        detached_[TopOf(parent)] += moving;
}

void DocumentTree::ObjectsLeft(xmlNodePtr top, LONG count) {
    if (count > 0 || pins_ > 0) {
        detached_[top] = count;
        if (count == 0)
            kept_.push_back(top);
        return;
    }
    detached_.erase(top);
    Free(top);
}

void DocumentTree::Free(xmlNodePtr top) {
    // A search remembered below a freed element could otherwise be taken for
    // one below a new element made at the same address.
    if (top->type == XML_ELEMENT_NODE)
        ++generation_;
    if (top->type == XML_ATTRIBUTE_NODE)
        xmlFreeProp(reinterpret_cast<xmlAttrPtr>(top));
    else
        xmlFreeNode(top);
}
