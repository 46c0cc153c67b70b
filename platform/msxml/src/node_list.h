// IXMLDOMNodeList over a snapshot of nodes taken when the list is made. The
// object of a node is made only when the list hands the node out, so a long
// list never holds an object per node. The list holds a reference on the
// document's owner, which frees no node before the owner goes, so its nodes
// stay valid even when they leave the document meanwhile.
#pragma once

#include "live_objects.h"
#include "node_object.h"

#include <vector>

namespace ptbridge::standin {

class NodeList final : public IXMLDOMNodeList, public LiveObject {
  public:
    // A list of the given nodes of the owner's document, in that order.
    static HRESULT Create(DocumentOwner* owner, std::vector<xmlNodePtr> nodes,
                          IXMLDOMNodeList** list);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // S_FALSE and null past the end; E_INVALIDARG for a negative index.
    STDMETHODIMP get_item(LONG index, IXMLDOMNode** listItem) override;
    STDMETHODIMP get_length(LONG* listLength) override;
    // The node at the cursor, which then moves on; S_FALSE and null at the end.
    STDMETHODIMP nextNode(IXMLDOMNode** nextItem) override;
    STDMETHODIMP reset() override;

    NodeList(DocumentOwner* owner, std::vector<xmlNodePtr> nodes);

  private:
    ~NodeList();

    ULONG references_ = 1;
    DocumentOwner* owner_;
    std::vector<xmlNodePtr> nodes_;
    size_t cursor_ = 0;
};

} // namespace ptbridge::standin
