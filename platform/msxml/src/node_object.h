// The COM objects behind DOM nodes. One object stands for one node (the
// node's _private points back at it while it lives), so asking for the same
// node twice gives the same object. Each object holds a reference on its
// document's owner. NodeObject carries the IXMLDOMNode behaviour shared by
// every kind of node; NodeFace puts it behind the kind's own interface.
#pragma once

#include "document_owner.h"
#include "live_objects.h"

#include "msxml6.h"

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

class NodeObject : public LiveObject {
  public:
    // The node of the tree; null for a namespace declaration, which libxml2
    // keeps apart from the nodes (DeclarationObject).
    xmlNodePtr TreeNode() const { return node_; }
    DocumentOwner* Owner() const { return owner_; }
    virtual IXMLDOMNode* Face() = 0;
    // The attribute map of an element's object; null for other nodes.
    virtual IXMLDOMNamedNodeMap* Attributes() { return nullptr; }

    // The node object behind an interface pointer of this library; null for
    // null and for objects from elsewhere.
    static NodeObject* From(IUnknown* object);

  protected:
    NodeObject(DocumentOwner* owner, xmlNodePtr node);
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
    // getElementsByTagName of documents and elements: the elements below the
    // node whose tag name, as written with its prefix, is `tagName` ("*":
    // every element), in document order.
    HRESULT GetElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList);

    // What the node says of itself; a namespace declaration answers otherwise.
    virtual DOMNodeType Type() const;
    virtual std::string Name() const;
    virtual const xmlChar* Prefix() const;
    virtual const xmlChar* BaseName() const;
    virtual const xmlChar* NamespaceUri() const;
    virtual HRESULT ReadText(std::string* text) const;
    virtual HRESULT WriteText(const std::string& text);
    virtual HRESULT Markup(std::string* xml) const;

    // The node object behind `object` when it belongs to this document; null otherwise.
    NodeObject* Peer(IUnknown* object) const;

    ULONG references_ = 1;

  private:
    // removeChild and appendChild: `edit` moves the child's node; the child
    // comes back through the optional `result` when it succeeds.
    template <class Edit> HRESULT EditChild(IXMLDOMNode* child, IXMLDOMNode** result, Edit edit);

    xmlNodePtr node_;
    DocumentOwner* owner_;
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

    // Each method runs Guarded: no C++ exception leaves the object.
    STDMETHODIMP get_nodeName(BSTR* name) override {
        return Guarded([&] { return GetNodeName(name); });
    }
    STDMETHODIMP get_nodeType(DOMNodeType* type) override {
        return Guarded([&] { return GetNodeType(type); });
    }
    STDMETHODIMP get_parentNode(IXMLDOMNode** parent) override {
        return Guarded([&] { return GetParentNode(parent); });
    }
    STDMETHODIMP get_childNodes(IXMLDOMNodeList** children) override {
        return Guarded([&] { return GetChildNodes(children); });
    }
    STDMETHODIMP get_attributes(IXMLDOMNamedNodeMap** attributes) override {
        return Guarded([&] { return GetAttributes(attributes); });
    }
    STDMETHODIMP removeChild(IXMLDOMNode* child, IXMLDOMNode** removed) override {
        return Guarded([&] { return RemoveChild(child, removed); });
    }
    STDMETHODIMP appendChild(IXMLDOMNode* child, IXMLDOMNode** appended) override {
        return Guarded([&] { return AppendChild(child, appended); });
    }
    STDMETHODIMP get_ownerDocument(IXMLDOMDocument** document) override {
        return Guarded([&] { return GetOwnerDocument(document); });
    }
    STDMETHODIMP get_text(BSTR* text) override {
        return Guarded([&] { return GetText(text); });
    }
    STDMETHODIMP put_text(BSTR text) override {
        return Guarded([&] { return PutText(text); });
    }
    STDMETHODIMP get_xml(BSTR* xml) override {
        return Guarded([&] { return GetXml(xml); });
    }
    STDMETHODIMP get_namespaceURI(BSTR* uri) override {
        return Guarded([&] { return GetNamespaceUri(uri); });
    }
    STDMETHODIMP get_prefix(BSTR* prefix) override {
        return Guarded([&] { return GetPrefix(prefix); });
    }
    STDMETHODIMP get_baseName(BSTR* name) override {
        return Guarded([&] { return GetBaseName(name); });
    }

  protected:
    using NodeObject::NodeObject;
    // Interfaces beyond IUnknown and IXMLDOMNode that this kind of node answers.
    virtual bool Offers(REFIID riid) const = 0;
};

// Text, CDATA sections, comments, processing instructions: IXMLDOMNode only.
class PlainNodeObject final : public NodeFace<IXMLDOMNode> {
  public:
    PlainNodeObject(DocumentOwner* owner, xmlNodePtr node) : NodeFace(owner, node) {}

  private:
    bool Offers(REFIID) const override { return false; }
};

// The object standing for `node` with one new reference (made when the node
// has none yet), or null when out of memory.
NodeObject* ObjectFor(DocumentOwner* owner, xmlNodePtr node);
// The same for a namespace declaration of `element` (null while it is on none).
NodeObject* ObjectFor(DocumentOwner* owner, xmlNsPtr declaration, xmlNodePtr element);

// Hands the object out as `iid` through `out`, taking over the reference that
// ObjectFor gave; E_OUTOFMEMORY for a null object.
HRESULT ReturnObject(NodeObject* object, REFIID iid, void** out);
// The same as IXMLDOMNode, which every node object is first of all.
HRESULT ReturnObject(NodeObject* object, IXMLDOMNode** out);

} // namespace ptbridge::standin
