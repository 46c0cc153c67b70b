#include "namespace_manager.h"

#include "node_names.h"
#include "node_object.h"
#include "utf_text.h"

namespace ptbridge::standin {

namespace {
// The element whose declarations are in scope at a node.
Node* ScopeElement(Node* node) {
    if (IsElement(node))
        return node;
    return node->parent && IsElement(node->parent) ? node->parent : nullptr;
}

// The UTF-16 form of a prefix or URI of the tree (null reads as empty).
bool WideFromTreeText(const char* text, std::u16string* wide) {
    return Utf16FromUtf8(text ? text : "", wide);
}
} // namespace

HRESULT NamespaceManager::ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) {
    NodeObject* object = NodeObject::From(node);
    if (!object)
        return E_INVALIDARG;
    Node* element =
        IsElement(object->TreeNode()) || deep ? ScopeElement(object->TreeNode()) : nullptr;
    for (; element && IsElement(element); element = deep ? element->parent : nullptr) {
        for (Namespace* ns = static_cast<Element*>(element)->declarations; ns; ns = ns->next) {
            std::u16string prefix, uri;
            if (!WideFromTreeText(ns->prefix, &prefix) || !WideFromTreeText(ns->uri, &uri))
                return E_FAIL;
            BindUnlessHidden(context, std::move(prefix), std::move(uri));
        }
    }
    return S_OK;
}

bool NamespaceManager::IsPrefixName(const std::u16string& prefix) const {
    return IsXmlName(Utf8FromWide(prefix.c_str()), false);
}

bool NamespaceManager::CallFails(HRESULT* failure) {
    return DomCallFails(failure);
}

} // namespace ptbridge::standin
