#include "namespace_manager.h"

#include "declaration_object.h"
#include "node_names.h"
#include "utf_text.h"

namespace ptbridge::standin {

namespace {
// The element whose declarations are in scope at the node: the node itself,
// the element holding an attribute or declaration, a text's parent element.
xmlNodePtr ScopeElement(NodeObject* object) {
    if (auto declaration = dynamic_cast<DeclarationObject*>(object))
        return declaration->Element();
    xmlNodePtr node = object->TreeNode();
    if (node->type == XML_ELEMENT_NODE)
        return node;
    return node->parent && node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
}

// The UTF-16 form of a prefix or URI (null reads as empty).
bool WideFromTreeText(const xmlChar* text, std::u16string* wide) {
    return Utf16FromUtf8(Text(text), wide);
}
} // namespace

HRESULT NamespaceManager::ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) {
    NodeObject* object = NodeObject::From(node);
    if (!object)
        return E_INVALIDARG;
    bool element = object->TreeNode() && object->TreeNode()->type == XML_ELEMENT_NODE;
    xmlNodePtr scope = element || deep ? ScopeElement(object) : nullptr;
    return Guarded([&] {
        for (; scope && scope->type == XML_ELEMENT_NODE; scope = deep ? scope->parent : nullptr) {
            for (xmlNsPtr ns = scope->nsDef; ns; ns = ns->next) {
                std::u16string prefix, uri;
                if (!WideFromTreeText(ns->prefix, &prefix) || !WideFromTreeText(ns->href, &uri))
                    return E_FAIL;
                BindUnlessHidden(context, std::move(prefix), std::move(uri));
            }
        }
        return S_OK;
    });
}

bool NamespaceManager::IsPrefixName(const std::u16string& prefix) const {
    return IsXmlName(Utf8FromWide(prefix.c_str()), false);
}

bool NamespaceManager::CallFails(HRESULT* failure) {
    return DomCallFails(failure);
}

} // namespace ptbridge::standin
