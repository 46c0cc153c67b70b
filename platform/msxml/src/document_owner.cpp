#include "document_owner.h"

#include "live_objects.h"
#include "xml_save.h"

#include <algorithm>

namespace ptbridge::standin {

DocumentOwner* DocumentOwner::Create(xmlDocPtr doc, bool preserveWhiteSpace) {
    auto owner = NewObject<DocumentOwner>(doc, preserveWhiteSpace);
    if (!owner)
        xmlFreeDoc(doc);
    return owner;
}

DocumentOwner::~DocumentOwner() {
    // Every remembered node is read before any is freed: one may have been
    // attached below another since, and is freed with it.
    std::sort(outside_.begin(), outside_.end());
    outside_.erase(std::unique(outside_.begin(), outside_.end()), outside_.end());
    auto attached = [](xmlNodePtr node) { return node->parent != nullptr; };
    outside_.erase(std::remove_if(outside_.begin(), outside_.end(), attached), outside_.end());
    for (xmlNodePtr top : outside_)
        xmlFreeNode(top);
    for (xmlNsPtr declaration : declarations_)
        xmlFreeNs(declaration);
    xmlFreeDoc(doc_);
}

void DocumentOwner::NoteUri(const xmlChar* uri) {
    escapeUris_ = escapeUris_ || UriNeedsEscaping(uri);
}

bool DocumentOwner::KeepOutside(xmlNodePtr node) {
    try {
        outside_.push_back(node);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool DocumentOwner::KeepOutside(xmlNsPtr declaration) {
    try {
        declarations_.push_back(declaration);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void DocumentOwner::Adopted(xmlNsPtr declaration) {
    declarations_.erase(std::remove(declarations_.begin(), declarations_.end(), declaration),
                        declarations_.end());
}

bool InDocument(xmlNodePtr node) {
    while (node->parent)
        node = node->parent;
    return node->type == XML_DOCUMENT_NODE;
}

} // namespace ptbridge::standin
