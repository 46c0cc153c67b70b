// One object per node: the object is found through xmlNode::_private, and
// made of the class that fits the node's kind when the node has none yet.
#include "attribute_object.h"
#include "document_object.h"
#include "element_object.h"
#include "node_object.h"

#include <new>

namespace {
NodeObject* NewObject(DocumentTree* tree, xmlNodePtr node) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
        return new (std::nothrow) ElementObject(tree, node);
    case XML_ATTRIBUTE_NODE:
        return new (std::nothrow) AttributeObject(tree, node);
    case XML_DOCUMENT_NODE:
        return new (std::nothrow) DocumentObject(tree, node);
    default:
        return new (std::nothrow) PlainNodeObject(tree, node);
    }
}
} // namespace

NodeObject* ObjectFor(DocumentTree* tree, xmlNodePtr node) {
    if (auto existing = static_cast<NodeObject*>(node->_private)) {
        existing->Face()->AddRef();
        return existing;
    }
    return NewObject(tree, node);
}

HRESULT ReturnNode(DocumentTree* tree, xmlNodePtr node, REFIID iid, void** out) {
    NodeObject* object = ObjectFor(tree, node);
    if (!object)
        return E_OUTOFMEMORY;
    HRESULT hr = object->Face()->QueryInterface(iid, out);
    object->Face()->Release();
    return hr;
}

HRESULT ReturnNode(DocumentTree* tree, xmlNodePtr node, IXMLDOMNode** out) {
    NodeObject* object = ObjectFor(tree, node);
    if (!object)
        return E_OUTOFMEMORY;
    *out = object->Face();
    return S_OK;
}
