// One object per node: the object is found through the node's _private (a
// namespace declaration's, for declarations), and made of the class that fits
// the node's kind when the node has none yet.
#include "attribute_object.h"
#include "declaration_object.h"
#include "document_object.h"
#include "element_object.h"
#include "node_object.h"

namespace ptbridge::standin {

namespace {
NodeObject* MakeObject(DocumentOwner* owner, xmlNodePtr node) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
        return NewObject<ElementObject>(owner, node);
    case XML_ATTRIBUTE_NODE:
        return NewObject<AttributeObject>(owner, node);
    case XML_DOCUMENT_NODE:
        return NewObject<DocumentObject>(owner, node);
    default:
        return NewObject<PlainNodeObject>(owner, node);
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
    return existing ? existing : MakeObject(owner, node);
}

NodeObject* ObjectFor(DocumentOwner* owner, xmlNsPtr declaration, xmlNodePtr element) {
    NodeObject* existing = Existing(declaration->_private);
    return existing ? existing : NewObject<DeclarationObject>(owner, declaration, element);
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
