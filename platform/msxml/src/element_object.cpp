#include "element_object.h"

#include "node_names.h"

namespace ptbridge::standin {

STDMETHODIMP ElementObject::get_tagName(BSTR* tagName) {
    return GetNodeName(tagName);
}

STDMETHODIMP ElementObject::setAttributeNode(IXMLDOMAttribute* attribute,
                                             IXMLDOMAttribute** replaced) {
    HRESULT hr;
    if (DomCallFails(&hr, replaced))
        return hr;
    ClearOut(replaced);
    NodeObject* peer = Peer(attribute);
    Attribute* added = peer ? AsAttribute(peer->TreeNode()) : nullptr;
    if (!added)
        return E_INVALIDARG;
    if (added->parent == TreeNode())
        return S_OK;
    if (added->parent)
        return E_INVALIDARG;
    Attribute* existing = static_cast<Element*>(TreeNode())->attributes;
    while (existing && !AttributesClash(existing, added))
        existing = static_cast<Attribute*>(existing->next);
    IXMLDOMAttribute* former = nullptr;
    if (existing && replaced) {
        hr = ReturnNode(Tree(), existing, IID_IXMLDOMAttribute, reinterpret_cast<void**>(&former));
        if (hr != S_OK)
            return hr;
    }
    hr = Tree()->SetAttribute(TreeNode(), added, existing);
    if (hr == S_OK && replaced)
        *replaced = former;
    else if (former)
        former->Release();
    return hr;
}

STDMETHODIMP ElementObject::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    return GetElementsByTagName(tagName, resultList);
}

} // namespace ptbridge::standin
