// The COM object of an element node.
#pragma once

#include "attribute_map.h"
#include "node_object.h"

namespace ptbridge::standin {

class ElementObject final : public NodeFace<IXMLDOMElement> {
  public:
    ElementObject(DocumentOwner* owner, xmlNodePtr node)
        : NodeFace(owner, node), attributes_(this) {}

    IXMLDOMNamedNodeMap* Attributes() override { return &attributes_; }

    STDMETHODIMP get_tagName(BSTR* tagName) override;
    // Attaches a detached attribute; an attribute of the same name (or the same
    // namespace and local name) is detached and handed back through
    // `replaced`. A namespace declaration made by createNode is added to the
    // element's declarations (tree_edit.h's AddDeclaration says when not).
    STDMETHODIMP setAttributeNode(IXMLDOMAttribute* attribute,
                                  IXMLDOMAttribute** replaced) override;
    STDMETHODIMP getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) override;

  private:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, IID_IXMLDOMElement); }

    AttributeMap attributes_;
};

} // namespace ptbridge::standin
