// One object per node: the object is found through Node::object, and
// made of the class that fits the node's kind when the node has none yet.
#include "attribute_object.h"
#include "document_object.h"
#include "element_object.h"
#include "node_object.h"

#include <new>

namespace ptbridge::standin {

namespace {
NodeObject* NewObject(DocumentTree* tree, Node* node) {
    switch (node->type) {
    case NODE_ELEMENT:
        return new (std::nothrow) ElementObject(tree, node);
    case NODE_ATTRIBUTE:
        return new (std::nothrow) AttributeObject(tree, node);
    case NODE_DOCUMENT:
        return new (std::nothrow) DocumentObject(tree, node);
    default:
        return new (std::nothrow) PlainNodeObject(tree, node);
    }
}
} // namespace

NodeObject* ObjectFor(DocumentTree* tree, Node* node) {
    if (auto existing = static_cast<NodeObject*>(node->object)) {
        existing->Face()->AddRef();
        return existing;
    }
    return NewObject(tree, node);
}

HRESULT ReturnNode(DocumentTree* tree, Node* node, REFIID iid, void** out) {
    NodeObject* object = ObjectFor(tree, node);
    if (!object)
        return E_OUTOFMEMORY;
    HRESULT hr = object->Face()->QueryInterface(iid, out);
    object->Face()->Release();
    return hr;
}

HRESULT ReturnNode(DocumentTree* tree, Node* node, IXMLDOMNode** out) {
    NodeObject* object = ObjectFor(tree, node);
    if (!object)
        return E_OUTOFMEMORY;
    *out = object->Face();
    return S_OK;
}

} // namespace ptbridge::standin
