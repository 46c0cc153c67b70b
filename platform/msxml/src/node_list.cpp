#include "node_list.h"

#include <new>
#include <utility>

namespace ptbridge::standin {

namespace {
constexpr size_t PrefetchSteps = 4;
constexpr size_t PrefetchBytes = 256;
} // namespace

HRESULT NodeList::Create(DocumentTree* tree, std::vector<Node*> nodes, IXMLDOMNodeList** list) {
    auto created = new (std::nothrow) NodeList(tree, std::move(nodes));
    if (!created)
        return E_OUTOFMEMORY;
    *list = created;
    return S_OK;
}

NodeList::NodeList(DocumentTree* tree, std::vector<Node*> nodes)
    : tree_(tree), nodes_(std::move(nodes)) {
    tree_->AddRef();
    tree_->Pin();
}

NodeList::~NodeList() {
    tree_->Unpin();
    tree_->Release();
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
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) NodeList::Release() {
    ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP NodeList::get_item(LONG index, IXMLDOMNode** listItem) {
    HRESULT hr;
    if (DomCallFails(&hr, listItem))
        return hr;
    if (!listItem)
        return E_POINTER;
    *listItem = nullptr;
    if (index < 0)
        return E_INVALIDARG;
    if (static_cast<size_t>(index) >= nodes_.size())
        return S_FALSE;
    return ReturnNode(tree_, nodes_[index], listItem);
}

STDMETHODIMP NodeList::get_length(LONG* listLength) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!listLength)
        return E_POINTER;
    *listLength = static_cast<LONG>(nodes_.size());
    return S_OK;
}

STDMETHODIMP NodeList::nextNode(IXMLDOMNode** nextItem) {
    HRESULT hr;
    if (DomCallFails(&hr, nextItem))
        return hr;
    if (!nextItem)
        return E_POINTER;
    *nextItem = nullptr;
    if (cursor_ >= nodes_.size())
        return S_FALSE;
    // A walk through a list of a large document waits on memory for each node
    // it reaches: ask now for the node a few steps on, with what follows it
    // (an element's attributes and their values), so that it has arrived by
    // then. A prefetch never faults.
    if (cursor_ + PrefetchSteps < nodes_.size()) {
        auto ahead = reinterpret_cast<const char*>(nodes_[cursor_ + PrefetchSteps]);
        for (size_t line = 0; line < PrefetchBytes; line += 64)
            __builtin_prefetch(ahead + line);
    }
    hr = ReturnNode(tree_, nodes_[cursor_], nextItem);
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
