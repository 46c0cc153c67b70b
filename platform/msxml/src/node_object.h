// The COM objects behind DOM nodes. One object stands for one tree node
// (Node::object points back at it while it lives), so asking for the same
// node twice gives the same object. Each object holds a reference on its
// DocumentTree. NodeObject carries the IXMLDOMNode behaviour shared by every
// kind of node; NodeFace puts it behind the kind's own interface.
#pragma once

#include "document_tree.h"
#include "live_objects.h"

#include "msxml6.h"

namespace ptbridge::standin {

class NodeObject : public LiveObject {
  public:
    Node* TreeNode() const { return node_; }
    DocumentTree* Tree() const { return tree_; }
    virtual IXMLDOMNode* Face() = 0;
    // The attribute map of an element's object; null for other nodes.
    virtual IXMLDOMNamedNodeMap* Attributes() { return nullptr; }

    // The node object behind an interface pointer of this library; null for
    // null and for objects from elsewhere.
    static NodeObject* From(IUnknown* object);

  protected:
    NodeObject(DocumentTree* tree, Node* node);
    virtual ~NodeObject();

    HRESULT GetNodeName(BSTR* name);
    HRESULT GetNodeType(DOMNodeType* type);
    HRESULT GetParentNode(IXMLDOMNode** parent);
    HRESULT GetChildNodes(IXMLDOMNodeList** children);
    HRESULT GetAttributes(IXMLDOMNamedNodeMap** attributes);
    HRESULT RemoveChild(IXMLDOMNode* child, IXMLDOMNode** removed);
    HRESULT AppendChild(IXMLDOMNode* child, IXMLDOMNode** appended);
    HRESULT GetOwnerDocument(IXMLDOMDocument** document);
    HRESULT GetText(BSTR* text);
    HRESULT PutText(BSTR text);
    HRESULT GetXml(BSTR* xml);
    HRESULT GetNamespaceUri(BSTR* uri);
    HRESULT GetPrefix(BSTR* prefix);
    HRESULT GetBaseName(BSTR* name);
    // getElementsByTagName of documents and elements.
    HRESULT GetElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList);

    // The node object behind `object` when it belongs to this document; null otherwise.
    NodeObject* Peer(IUnknown* object) const;

    // A document and its node objects are used by one thread at a time (the
    // tree itself is not locked), so counting needs no atomic operations: a
    // search makes and drops objects at every step.
    ULONG references_ = 1;

  private:
    // removeChild and appendChild: `edit` moves the child, which comes back
    // through the optional `result` when it succeeds.
    HRESULT EditChild(HRESULT (DocumentTree::*edit)(Node* parent, Node* child), IXMLDOMNode* child,
                      IXMLDOMNode** result);

    Node* node_;
    DocumentTree* tree_;
};

template <class Interface> class NodeFace : public Interface, public NodeObject {
  public:
    IXMLDOMNode* Face() override { return this; }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IXMLDOMNode) && !Offers(riid))
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    STDMETHODIMP get_nodeName(BSTR* name) override { return GetNodeName(name); }
    STDMETHODIMP get_nodeType(DOMNodeType* type) override { return GetNodeType(type); }
    STDMETHODIMP get_parentNode(IXMLDOMNode** parent) override { return GetParentNode(parent); }
    STDMETHODIMP get_childNodes(IXMLDOMNodeList** children) override {
        return GetChildNodes(children);
    }
    STDMETHODIMP get_attributes(IXMLDOMNamedNodeMap** attributes) override {
        return GetAttributes(attributes);
    }
    STDMETHODIMP removeChild(IXMLDOMNode* child, IXMLDOMNode** removed) override {
        return RemoveChild(child, removed);
    }
    STDMETHODIMP appendChild(IXMLDOMNode* child, IXMLDOMNode** appended) override {
        return AppendChild(child, appended);
    }
    STDMETHODIMP get_ownerDocument(IXMLDOMDocument** document) override {
        return GetOwnerDocument(document);
    }
    STDMETHODIMP get_text(BSTR* text) override { return GetText(text); }
    STDMETHODIMP put_text(BSTR text) override { return PutText(text); }
    STDMETHODIMP get_xml(BSTR* xml) override { return GetXml(xml); }
    STDMETHODIMP get_namespaceURI(BSTR* uri) override { return GetNamespaceUri(uri); }
    STDMETHODIMP get_prefix(BSTR* prefix) override { return GetPrefix(prefix); }
    STDMETHODIMP get_baseName(BSTR* name) override { return GetBaseName(name); }

  protected:
    using NodeObject::NodeObject;
    // Interfaces beyond IUnknown and IXMLDOMNode that this kind of node answers.
    virtual bool Offers(REFIID riid) const = 0;
};

// Text, comments, processing instructions: nodes with IXMLDOMNode only.
class PlainNodeObject final : public NodeFace<IXMLDOMNode> {
  public:
    PlainNodeObject(DocumentTree* tree, Node* node) : NodeFace(tree, node) {}

  private:
    bool Offers(REFIID) const override { return false; }
};

// The object standing for `node` with one new reference (created when the
// node has none yet), or null when out of memory.
NodeObject* ObjectFor(DocumentTree* tree, Node* node);

// Hands the object of `node` out as `iid` through `out`.
HRESULT ReturnNode(DocumentTree* tree, Node* node, REFIID iid, void** out);
// The same as IXMLDOMNode, which every node object is first of all: the
// reference that ObjectFor gives becomes the caller's, with no interface query.
HRESULT ReturnNode(DocumentTree* tree, Node* node, IXMLDOMNode** out);

} // namespace ptbridge::standin
