// IXMLDOMNamedNodeMap of an element's attributes, read live from the element:
// its namespace declarations first (xmlns, xmlns:p, as MSXML lists them),
// then its other attributes, each in the order written.
//
// Every element object carries its one map, and the map's references are the
// element object's own: handing the map out costs nothing, and the map keeps
// its element alive.
#pragma once

#include "node_object.h"

namespace ptbridge::standin {

class AttributeMap final : public IXMLDOMNamedNodeMap {
  public:
    explicit AttributeMap(NodeObject* element) : element_(element) {}
    AttributeMap(const AttributeMap&) = delete;
    AttributeMap& operator=(const AttributeMap&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // The attribute with this name as written ("name", "xsi:type", "xmlns:psf");
    // S_FALSE and null when there is none.
    STDMETHODIMP getNamedItem(BSTR name, IXMLDOMNode** namedItem) override;
    STDMETHODIMP get_item(LONG index, IXMLDOMNode** listItem) override;
    STDMETHODIMP get_length(LONG* listLength) override;

  private:
    NodeObject* element_;
};

} // namespace ptbridge::standin
