// The wrapper of a whole Print Schema document: its root element, and the
// owner of the PrintSchemaDomHelper that every wrapper made from it borrows.
#pragma once

#include "common/oem_interfaces.h"
#include "schema/schema_node.h"

namespace ptbridge {

class SchemaFeature;

class SchemaDocument : public SchemaNode {
  public:
    // Creates the helper over the host's document and the core driver's helper.
    // When the helper cannot be made or initialised the document is empty:
    // Element() and Helper() give null and every operation gives null or false.
    SchemaDocument(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper);
    // S_OK when the document wraps its root element. Otherwise why it is empty:
    // E_OUTOFMEMORY when the helper cannot be allocated, else the failure the
    // helper met opening the document, or E_FAIL when what it met (S_FALSE: no
    // root element) is no failure code.
    HRESULT OpenResult() const { return openResult_; }
    // Destroys the helper; every wrapper made from this document must be gone.
    ~SchemaDocument() override;

    // Appends a new "Feature" named by the pair to the root element.
    virtual SchemaFeature* AddFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    // Finds the feature named by the pair at any depth.
    virtual SchemaFeature* FindFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    // Removes the named feature when it is a direct child of the root element.
    virtual bool RemoveFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    // Moves the wrapped element, with its subtree, to the end of the root element.
    virtual bool AppendFeature(SchemaNode* feature);

  private:
    HRESULT openResult_ = E_FAIL;
};

} // namespace ptbridge
