// The owner of one libxml2 document and of every node that ever belonged to it.
//
// Every COM object of the document's nodes holds a reference on the owner, so
// the xmlDoc lives while any of them does. A node that leaves the tree (removed,
// replaced, or made and not attached yet) is remembered here rather than freed:
// an object may still stand for it, and it may join the tree again. When the
// last reference goes, the owner frees the remembered nodes that are still
// outside the tree, then the document with everything in it. Nothing is freed
// earlier, so every node, and every namespace declaration a node points at,
// stays valid while any object of the document lives.
//
// A document and its objects are used by one thread at a time, so references
// are counted without atomic operations.
#pragma once

#include <libxml/tree.h>

#include <vector>

namespace ptbridge::standin {

class DocumentOwner {
  public:
    // An owner of `doc` with one reference; null when out of memory, and the
    // document is then freed.
    static DocumentOwner* Create(xmlDocPtr doc, bool preserveWhiteSpace);
    DocumentOwner(xmlDocPtr doc, bool preserveWhiteSpace)
        : doc_(doc), preserveWhiteSpace_(preserveWhiteSpace) {}
    DocumentOwner(const DocumentOwner&) = delete;
    DocumentOwner& operator=(const DocumentOwner&) = delete;

    void AddRef() { ++references_; }
    void Release() {
        if (--references_ == 0)
            delete this;
    }

    xmlDocPtr Doc() const { return doc_; }
    // Whether white-space-only text is kept at the next load, and element text
    // is given untrimmed.
    bool PreserveWhiteSpace() const { return preserveWhiteSpace_; }
    void SetPreserveWhiteSpace(bool preserve) { preserveWhiteSpace_ = preserve; }

    // Whether a namespace URI that saving must escape may be in the tree: set
    // by every way such a URI gets in (xml_save.h).
    bool EscapeUris() const { return escapeUris_; }
    void NoteUri(const xmlChar* uri);
    void NoteUrisToEscape() { escapeUris_ = true; }
    // The size of the text last loaded into or saved from the document, which
    // the next save is likely to be near.
    size_t TextSize() const { return textSize_; }
    void SetTextSize(size_t size) { textSize_ = size; }

    // Remembers a node before it leaves the tree, or once it is made outside
    // it. False when out of memory: the node must then stay where it is, or be
    // freed by the caller at once.
    bool KeepOutside(xmlNodePtr node);
    // The same for a namespace declaration made for no element yet; Adopted
    // forgets it once an element holds it.
    bool KeepOutside(xmlNsPtr declaration);
    void Adopted(xmlNsPtr declaration);

  private:
    ~DocumentOwner();

    xmlDocPtr doc_;
    unsigned long references_ = 1;
    bool preserveWhiteSpace_;
    bool escapeUris_ = false;
    size_t textSize_ = 0;
    std::vector<xmlNodePtr> outside_;
    std::vector<xmlNsPtr> declarations_;
};

// Whether the node lies in its document's tree, not in a detached subtree.
bool InDocument(xmlNodePtr node);

} // namespace ptbridge::standin
