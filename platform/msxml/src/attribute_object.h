// The COM object of an attribute node; namespace declarations, shown as
// attributes, build on it (DeclarationObject).
#pragma once

#include "node_object.h"

namespace ptbridge::standin {

class AttributeObject : public NodeFace<IXMLDOMAttribute> {
  public:
    AttributeObject(DocumentOwner* owner, xmlNodePtr node) : NodeFace(owner, node) {}

    STDMETHODIMP get_name(BSTR* attributeName) override;
    // The value (the text) as VT_BSTR.
    STDMETHODIMP get_value(VARIANT* attributeValue) override;
    // VT_BSTR is taken as it is; other types are converted to text first.
    STDMETHODIMP put_value(VARIANT attributeValue) override;

  private:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, IID_IXMLDOMAttribute); }
};

} // namespace ptbridge::standin
