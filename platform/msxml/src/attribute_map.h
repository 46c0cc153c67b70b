// IXMLDOMNamedNodeMap of an element's attributes, read live from the element.
// Namespace declarations (xmlns, xmlns:p) are not attributes here: libxml2
// keeps them apart, so the map neither lists nor finds them; the namespace
// manager reads them instead.
#pragma once

#include "live_objects.h"
#include "node_object.h"

class AttributeMap final : public IXMLDOMNamedNodeMap, public LiveObject {
  public:
    // The map of an element object, on which it holds a reference.
    static HRESULT Create(NodeObject* element, IXMLDOMNamedNodeMap** map);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // The attribute with this name as written ("name", "xsi:type"); S_FALSE
    // and null when there is none.
    STDMETHODIMP getNamedItem(BSTR name, IXMLDOMNode** namedItem) override;
    STDMETHODIMP get_item(LONG index, IXMLDOMNode** listItem) override;
    STDMETHODIMP get_length(LONG* listLength) override;

  private:
    explicit AttributeMap(NodeObject* element);
    ~AttributeMap();

    volatile LONG references_ = 1;
    NodeObject* element_;
};
