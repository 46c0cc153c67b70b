// The COM object of the document node.
#pragma once

#include "node_object.h"

namespace ptbridge::standin {

class DocumentObject final : public NodeFace<IXMLDOMDocument2> {
  public:
    DocumentObject(DocumentOwner* owner, xmlNodePtr node) : NodeFace(owner, node) {}

    // The document object of the owner's document; the owner's reference
    // passes to it.
    static HRESULT Wrap(DocumentOwner* owner, IXMLDOMDocument2** document);

    STDMETHODIMP get_documentElement(IXMLDOMElement** DOMElement) override;
    STDMETHODIMP getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) override;
    // Makes an unattached node (node_creation.h).
    STDMETHODIMP createNode(VARIANT Type, BSTR name, BSTR namespaceURI,
                            IXMLDOMNode** node) override;
    // Replaces the content with the parsed text, read as UTF-16 whatever its
    // declaration says, and with the current preserveWhiteSpace; on unsound
    // text S_FALSE, *isSuccessful false, and the document stays as it was.
    STDMETHODIMP loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) override;
    // False until set; a change takes effect at the next load.
    STDMETHODIMP get_preserveWhiteSpace(VARIANT_BOOL* isPreserved) override;
    STDMETHODIMP put_preserveWhiteSpace(VARIANT_BOOL isPreserved) override;

  private:
    bool Offers(REFIID riid) const override {
        return IsEqualIID(riid, IID_IXMLDOMDocument) || IsEqualIID(riid, IID_IXMLDOMDocument2);
    }
};

} // namespace ptbridge::standin
