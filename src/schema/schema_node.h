// The base of every Print Schema wrapper: one DOM element of the document,
// reached through the document's PrintSchemaDomHelper.
#pragma once

#include "common/com_ptr.h"
#include "common/platform.h"

namespace ptbridge {

class PrintSchemaDomHelper;

class SchemaNode {
  public:
    // Stores both pointers and takes one reference on the element; the caller
    // keeps its own. The helper is borrowed from the SchemaDocument.
    SchemaNode(PrintSchemaDomHelper* helper, IXMLDOMElement* element);
    SchemaNode(const SchemaNode&) = delete;
    SchemaNode& operator=(const SchemaNode&) = delete;

    // Releases the element reference.
    virtual ~SchemaNode();

    // Writes the document's QName for the pair into the caller's buffer. The
    // capacity counts characters, terminator included. Too small: the buffer
    // is untouched, the needed count is stored in *capacity, and false.
    virtual bool FormatQName(const WCHAR* namespaceUri, const WCHAR* localName, WCHAR* buffer,
                             ULONG* capacity);
    // Borrowed: no reference is added.
    virtual IXMLDOMElement* Element() const;
    // Borrowed: owned by the SchemaDocument the wrapper chain began from.
    virtual PrintSchemaDomHelper* Helper() const;

  protected:
    // A wrapper that starts empty and receives its helper and element later
    // (the document, which creates both itself).
    SchemaNode() = default;
    // Takes over an element reference the caller already owns.
    void AdoptElement(IXMLDOMElement* element);
    void SetHelper(PrintSchemaDomHelper* helper);

  private:
    PrintSchemaDomHelper* helper_ = nullptr;
    ComPtr<IXMLDOMElement> element_;
};

} // namespace ptbridge
