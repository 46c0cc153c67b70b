#include "node_object.h"

#include "node_list.h"
#include "node_names.h"
#include "node_text.h"
#include "utf_text.h"
#include "xml_serialize.h"

#include <utility>
#include <vector>

namespace ptbridge::standin {

NodeObject::NodeObject(DocumentTree* tree, Node* node) : node_(node), tree_(tree) {
    tree_->AddRef();
    node_->object = this;
    tree_->ObjectCreated(node_);
}

NodeObject::~NodeObject() {
    node_->object = nullptr;
    tree_->ObjectDestroyed(node_);
    tree_->Release();
}

NodeObject* NodeObject::From(IUnknown* object) {
    return dynamic_cast<NodeObject*>(object);
}

NodeObject* NodeObject::Peer(IUnknown* object) const {
    NodeObject* peer = From(object);
    return peer && peer->tree_ == tree_ ? peer : nullptr;
}

HRESULT NodeObject::GetNodeName(BSTR* name) {
    HRESULT hr;
    if (OpeningFails(&hr, name))
        return hr;
    std::string written = NodeName(node_);
    *name = BstrFromUtf8(written.data(), written.size());
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT NodeObject::GetNodeType(DOMNodeType* type) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!type)
        return E_POINTER;
    *type = node_->type;
    return S_OK;
}

HRESULT NodeObject::GetParentNode(IXMLDOMNode** parent) {
    HRESULT hr;
    if (OpeningFails(&hr, parent))
        return hr;
    // As in the DOM, an attribute has no parent node: its element owns it.
    if (node_->type == NODE_ATTRIBUTE || !node_->parent)
        return S_FALSE;
    return ReturnNode(tree_, node_->parent, parent);
}

HRESULT NodeObject::GetChildNodes(IXMLDOMNodeList** children) {
    HRESULT hr;
    if (OpeningFails(&hr, children))
        return hr;
    std::vector<Node*> nodes;
    for (Node* child = FirstChild(node_); child; child = child->next)
        nodes.push_back(child);
    return NodeList::Create(tree_, std::move(nodes), children);
}

HRESULT NodeObject::GetAttributes(IXMLDOMNamedNodeMap** attributes) {
    HRESULT hr;
    if (OpeningFails(&hr, attributes))
        return hr;
    IXMLDOMNamedNodeMap* map = Attributes();
    if (!map)
        return S_FALSE;
    map->AddRef();
    *attributes = map;
    return S_OK;
}

HRESULT NodeObject::RemoveChild(IXMLDOMNode* child, IXMLDOMNode** removed) {
    return EditChild(&DocumentTree::RemoveChild, child, removed);
}

HRESULT NodeObject::AppendChild(IXMLDOMNode* child, IXMLDOMNode** appended) {
    return EditChild(&DocumentTree::AppendChild, child, appended);
}

HRESULT NodeObject::EditChild(HRESULT (DocumentTree::*edit)(Node* parent, Node* child),
                              IXMLDOMNode* child, IXMLDOMNode** result) {
    HRESULT hr;
    if (DomCallFails(&hr, result))
        return hr;
    ClearOut(result);
    NodeObject* peer = Peer(child);
    if (!peer)
        return E_INVALIDARG;
    hr = (tree_->*edit)(node_, peer->node_);
    if (hr == S_OK && result) {
        child->AddRef();
        *result = child;
    }
    return hr;
}

HRESULT NodeObject::GetElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    HRESULT hr;
    if (OpeningFails(&hr, resultList))
        return hr;
    if (!tagName)
        return E_INVALIDARG;
    return NodeList::Create(tree_, tree_->ElementsByTagName(node_, Utf8FromWide(tagName)),
                            resultList);
}

HRESULT NodeObject::GetOwnerDocument(IXMLDOMDocument** document) {
    HRESULT hr;
    if (OpeningFails(&hr, document))
        return hr;
    if (node_->type == NODE_DOCUMENT)
        return S_FALSE;
    return ReturnNode(tree_, tree_->Doc(), IID_IXMLDOMDocument, reinterpret_cast<void**>(document));
}

HRESULT NodeObject::GetText(BSTR* text) {
    HRESULT hr;
    if (OpeningFails(&hr, text))
        return hr;
    return ReturnNodeText(node_, text);
}

HRESULT NodeObject::PutText(BSTR text) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    return tree_->ReplaceText(node_, Utf8FromWide(text));
}

HRESULT NodeObject::GetXml(BSTR* xml) {
    HRESULT hr;
    if (OpeningFails(&hr, xml))
        return hr;
    std::string markup;
    hr = SerializeNode(node_, &markup);
    if (hr != S_OK)
        return hr;
    *xml = BstrFromUtf8(markup.data(), markup.size());
    return *xml ? S_OK : E_OUTOFMEMORY;
}

HRESULT NodeObject::GetNamespaceUri(BSTR* uri) {
    HRESULT hr;
    if (OpeningFails(&hr, uri))
        return hr;
    Namespace* ns = NamespaceOf(node_);
    return ReturnBstr(ns ? ns->uri : nullptr, uri);
}

HRESULT NodeObject::GetPrefix(BSTR* prefix) {
    HRESULT hr;
    if (OpeningFails(&hr, prefix))
        return hr;
    return ReturnBstr(PrefixOf(node_), prefix);
}

HRESULT NodeObject::GetBaseName(BSTR* name) {
    HRESULT hr;
    if (OpeningFails(&hr, name))
        return hr;
    const char* local = node_->type == NODE_PROCESSING_INSTRUCTION
                            ? static_cast<ProcessingInstruction*>(node_)->target
                            : LocalNameOf(node_);
    return ReturnBstr(local, name);
}

} // namespace ptbridge::standin
