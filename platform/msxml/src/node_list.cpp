#include "node_list.h"

#include <utility>

namespace ptbridge::standin {

HRESULT NodeList::Create(DocumentOwner* owner, std::vector<xmlNodePtr> nodes,
                         IXMLDOMNodeList** list) {
    auto created = NewObject<NodeList>(owner, std::move(nodes));
    if (!created)
        return E_OUTOFMEMORY;
    *list = created;
    return S_OK;
}

NodeList::NodeList(DocumentOwner* owner, std::vector<xmlNodePtr> nodes)
    : owner_(owner), nodes_(std::move(nodes)) {
    owner_->AddRef();
}

NodeList::~NodeList() {
    owner_->Release();
}

STDMETHODIMP NodeList::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IXMLDOMNodeList))
        return E_NOINTERFACE;
    *object = static_cast<IXMLDOMNodeList*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) NodeList::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) NodeList::Release() {
    ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP NodeList::get_item(LONG index, IXMLDOMNode** listItem) {
    HRESULT hr;
    if (OpeningFails(&hr, listItem))
        return hr;
    if (index < 0)
        return E_INVALIDARG;
    if (static_cast<size_t>(index) >= nodes_.size())
        return S_FALSE;
    return ReturnObject(ObjectFor(owner_, nodes_[index]), listItem);
}

STDMETHODIMP NodeList::get_length(LONG* listLength) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!listLength)
        return E_INVALIDARG;
    *listLength = static_cast<LONG>(nodes_.size());
    return S_OK;
}

STDMETHODIMP NodeList::nextNode(IXMLDOMNode** nextItem) {
    HRESULT hr;
    if (OpeningFails(&hr, nextItem))
        return hr;
    if (cursor_ >= nodes_.size())
        return S_FALSE;
    hr = ReturnObject(ObjectFor(owner_, nodes_[cursor_]), nextItem);
    if (hr == S_OK)
        ++cursor_;
    return hr;
}

STDMETHODIMP NodeList::reset() {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    cursor_ = 0;
    return S_OK;
}

} // namespace ptbridge::standin
