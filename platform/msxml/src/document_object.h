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
    // Makes a node outside the tree, kept by the owner until it joins it: an
    // element (1) or attribute (2) named `name` in namespace `namespaceURI`
    // (empty: none), or an empty text (3) or comment (8) node, whose name is
    // ignored. A prefixed element or attribute needs a namespace, and the
    // prefix "xml" goes with the xml namespace only. An unprefixed attribute
    // has no namespace, whatever is given; an unprefixed element with a
    // namespace is in that default namespace. An attribute named "xmlns" or
    // "xmlns:p" is a namespace declaration (declaration_object.h), whose
    // namespace must be empty or http://www.w3.org/2000/xmlns/. E_INVALIDARG
    // for a refused name or kind.
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
