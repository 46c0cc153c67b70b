// One object per node: the object is found through the node's _private (a
// namespace declaration's, for declarations), and made of the class that fits
// the node's kind when the node has none yet.
#include "attribute_object.h"
#include "declaration_object.h"
#include "document_object.h"
#include "element_object.h"
#include "node_object.h"

#include <new>

namespace ptbridge::standin {

namespace {
NodeObject* NewObject(DocumentOwner* owner, xmlNodePtr node) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
        return new (std::nothrow) ElementObject(owner, node);
    case XML_ATTRIBUTE_NODE:
        return new (std::nothrow) AttributeObject(owner, node);
    case XML_DOCUMENT_NODE:
        return new (std::nothrow) DocumentObject(owner, node);
    default:
        return new (std::nothrow) PlainNodeObject(owner, node);
    }
}

NodeObject* Existing(void* object) {
    auto existing = static_cast<NodeObject*>(object);
    if (existing)
        existing->Face()->AddRef();
    return existing;
}
} // namespace

NodeObject* ObjectFor(DocumentOwner* owner, xmlNodePtr node) {
    NodeObject* existing = Existing(node->_private);
    return existing ? existing : NewObject(owner, node);
}

NodeObject* ObjectFor(DocumentOwner* owner, xmlNsPtr declaration, xmlNodePtr element) {
    NodeObject* existing = Existing(declaration->_private);
    return existing ? existing : new (std::nothrow) DeclarationObject(owner, declaration, element);
}

HRESULT ReturnObject(NodeObject* object, REFIID iid, void** out) {
    if (!object)
        return E_OUTOFMEMORY;
    HRESULT hr = object->Face()->QueryInterface(iid, out);
    object->Face()->Release();
    return hr;
}

HRESULT ReturnObject(NodeObject* object, IXMLDOMNode** out) {
    if (!object)
        return E_OUTOFMEMORY;
    *out = object->Face();
    return S_OK;
}

} // namespace ptbridge::standin
