// The COM object of the document node.
#pragma once

#include "node_object.h"

namespace ptbridge::standin {

class DocumentObject final : public NodeFace<IXMLDOMDocument2> {
  public:
    DocumentObject(DocumentTree* tree, Node* node) : NodeFace(tree, node) {}

    // A document object over a new tree that takes ownership of the store
    // and of the document node made in it.
    static HRESULT Wrap(std::unique_ptr<NodeStore> store, DocumentNode* doc,
                        IXMLDOMDocument2** document);

    STDMETHODIMP get_documentElement(IXMLDOMElement** DOMElement) override;
    STDMETHODIMP getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) override;
    // Makes an unattached element (1), attribute (2), text (3) or comment (8).
    STDMETHODIMP createNode(VARIANT Type, BSTR name, BSTR namespaceURI,
                            IXMLDOMNode** node) override;
    // Replaces the content with the parsed text; on malformed text S_FALSE,
    // *isSuccessful false, and the document stays as it was.
    STDMETHODIMP loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) override;
    // Takes effect at the next load.
    STDMETHODIMP get_preserveWhiteSpace(VARIANT_BOOL* isPreserved) override;
    STDMETHODIMP put_preserveWhiteSpace(VARIANT_BOOL isPreserved) override;

  private:
    bool Offers(REFIID riid) const override {
        return IsEqualIID(riid, IID_IXMLDOMDocument) || IsEqualIID(riid, IID_IXMLDOMDocument2);
    }
};

} // namespace ptbridge::standin
