#include "element_object.h"

#include "declaration_object.h"
#include "tree_edit.h"

namespace ptbridge::standin {

STDMETHODIMP ElementObject::get_tagName(BSTR* tagName) {
    return Guarded([&] { return GetNodeName(tagName); });
}

STDMETHODIMP ElementObject::setAttributeNode(IXMLDOMAttribute* attribute,
                                             IXMLDOMAttribute** replaced) {
    HRESULT hr;
    if (DomCallFails(&hr, replaced))
        return hr;
    ClearOut(replaced);
    NodeObject* peer = Peer(attribute);
    if (auto declaration = dynamic_cast<DeclarationObject*>(peer)) {
        if (declaration->Element())
            return declaration->Element() == TreeNode() ? S_OK : E_INVALIDARG;
        return Guarded([&] {
            HRESULT added = AddDeclaration(*Owner(), TreeNode(), declaration->Declaration());
            // Only a refusal leaves the declaration outside the element.
            if (added != E_INVALIDARG)
                declaration->HeldBy(TreeNode());
            return added;
        });
    }
    if (!peer || !peer->TreeNode() || peer->TreeNode()->type != XML_ATTRIBUTE_NODE)
        return E_INVALIDARG;
    return Guarded([&] {
        xmlAttrPtr former = nullptr;
        HRESULT set = SetAttribute(*Owner(), TreeNode(),
                                   reinterpret_cast<xmlAttrPtr>(peer->TreeNode()), &former);
        if (set != S_OK || !former || !replaced)
            return set;
        return ReturnObject(ObjectFor(Owner(), reinterpret_cast<xmlNodePtr>(former)),
                            IID_IXMLDOMAttribute, reinterpret_cast<void**>(replaced));
    });
}

STDMETHODIMP ElementObject::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    return Guarded([&] { return GetElementsByTagName(tagName, resultList); });
}

} // namespace ptbridge::standin
