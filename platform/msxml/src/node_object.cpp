#include "node_object.h"

#include "node_list.h"
#include "node_names.h"
#include "node_text.h"
#include "tree_edit.h"
#include "utf_text.h"
#include "xml_save.h"

#include <vector>

namespace ptbridge::standin {

NodeObject::NodeObject(DocumentOwner* owner, xmlNodePtr node) : node_(node), owner_(owner) {
    owner_->AddRef();
    if (node_)
        node_->_private = this;
}

NodeObject::~NodeObject() {
    if (node_)
        node_->_private = nullptr;
    owner_->Release();
}

NodeObject* NodeObject::From(IUnknown* object) {
    return dynamic_cast<NodeObject*>(object);
}

NodeObject* NodeObject::Peer(IUnknown* object) const {
    NodeObject* peer = From(object);
    return peer && peer->owner_ == owner_ ? peer : nullptr;
}

DOMNodeType NodeObject::Type() const {
    return static_cast<DOMNodeType>(node_->type);
}

std::string NodeObject::Name() const {
    return NodeName(node_);
}

const xmlChar* NodeObject::Prefix() const {
    return PrefixOf(node_);
}

const xmlChar* NodeObject::BaseName() const {
    bool named = node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE ||
                 node_->type == XML_PI_NODE;
    return named ? node_->name : nullptr;
}

const xmlChar* NodeObject::NamespaceUri() const {
    xmlNsPtr ns = NamespaceOf(node_);
    return ns ? ns->href : nullptr;
}

HRESULT NodeObject::ReadText(std::string* text) const {
    return NodeText(node_, owner_->PreserveWhiteSpace(), text) ? S_OK : E_OUTOFMEMORY;
}

HRESULT NodeObject::WriteText(const std::string& text) {
    return SetText(*owner_, node_, text);
}

HRESULT NodeObject::Markup(std::string* xml) const {
    return NodeMarkup(node_, owner_->EscapeUris(), xml);
}

HRESULT NodeObject::GetNodeName(BSTR* name) {
    HRESULT hr;
    if (OpeningFails(&hr, name))
        return hr;
    return ReturnBstr(Name(), name);
}

HRESULT NodeObject::GetNodeType(DOMNodeType* type) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    if (!type)
        return E_INVALIDARG;
    *type = Type();
    return S_OK;
}

HRESULT NodeObject::GetParentNode(IXMLDOMNode** parent) {
    HRESULT hr;
    if (OpeningFails(&hr, parent))
        return hr;
    // As in the DOM, an attribute has no parent node: its element owns it.
    if (!node_ || node_->type == XML_ATTRIBUTE_NODE || !node_->parent)
        return S_FALSE;
    return ReturnObject(ObjectFor(owner_, node_->parent), parent);
}

HRESULT NodeObject::GetChildNodes(IXMLDOMNodeList** children) {
    HRESULT hr;
    if (OpeningFails(&hr, children))
        return hr;
    std::vector<xmlNodePtr> nodes;
    bool hasChildren =
        node_ && (node_->type == XML_ELEMENT_NODE || node_->type == XML_DOCUMENT_NODE);
    for (xmlNodePtr child = hasChildren ? node_->children : nullptr; child; child = child->next)
        nodes.push_back(child);
    return NodeList::Create(owner_, std::move(nodes), children);
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

template <class Edit>
HRESULT NodeObject::EditChild(IXMLDOMNode* child, IXMLDOMNode** result, Edit edit) {
    HRESULT hr;
    if (DomCallFails(&hr, result))
        return hr;
    ClearOut(result);
    NodeObject* peer = Peer(child);
    if (!node_ || !peer || !peer->node_)
        return E_INVALIDARG;
    hr = edit(peer->node_);
    if (hr == S_OK && result) {
        child->AddRef();
        *result = child;
    }
    return hr;
}

HRESULT NodeObject::RemoveChild(IXMLDOMNode* child, IXMLDOMNode** removed) {
    return EditChild(child, removed, [this](xmlNodePtr node) {
        return standin::RemoveChild(*owner_, node_, node);
    });
}

HRESULT NodeObject::AppendChild(IXMLDOMNode* child, IXMLDOMNode** appended) {
    return EditChild(child, appended,
                     [this](xmlNodePtr node) { return standin::AppendChild(node_, node); });
}

HRESULT NodeObject::GetElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    HRESULT hr;
    if (OpeningFails(&hr, resultList))
        return hr;
    if (!tagName)
        return E_INVALIDARG;
    std::string wanted = Utf8FromWide(tagName);
    bool any = wanted == "*";
    SplitName name = SplitQualifiedName(wanted);
    std::vector<xmlNodePtr> found;
    xmlNodePtr node = node_->children;
    while (node) {
        // The parser makes the nodes in document order, so those the walk
        // reaches next mostly lie a little further on in memory: asking for
        // that memory now lets it arrive while the walk works through the
        // nodes before it. A prefetch never faults.
        __builtin_prefetch(reinterpret_cast<const char*>(node) + 4096);
        bool element = node->type == XML_ELEMENT_NODE;
        if (element && (any || HasWrittenName(node, name)))
            found.push_back(node);
        if (element && node->children) {
            node = node->children;
            continue;
        }
        while (node->parent != node_ && !node->next)
            node = node->parent;
        node = node->next;
    }
    return NodeList::Create(owner_, std::move(found), resultList);
}

HRESULT NodeObject::GetOwnerDocument(IXMLDOMDocument** document) {
    HRESULT hr;
    if (OpeningFails(&hr, document))
        return hr;
    if (node_ && node_->type == XML_DOCUMENT_NODE)
        return S_FALSE;
    return ReturnObject(ObjectFor(owner_, reinterpret_cast<xmlNodePtr>(owner_->Doc())),
                        IID_IXMLDOMDocument, reinterpret_cast<void**>(document));
}

HRESULT NodeObject::GetText(BSTR* text) {
    HRESULT hr;
    if (OpeningFails(&hr, text))
        return hr;
    std::string content;
    hr = ReadText(&content);
    return hr == S_OK ? ReturnBstr(content, text) : hr;
}

HRESULT NodeObject::PutText(BSTR text) {
    HRESULT hr;
    if (DomCallFails(&hr))
        return hr;
    return WriteText(Utf8FromWide(text));
}

HRESULT NodeObject::GetXml(BSTR* xml) {
    HRESULT hr;
    if (OpeningFails(&hr, xml))
        return hr;
    std::string markup;
    hr = Markup(&markup);
    return hr == S_OK ? ReturnBstr(markup, xml) : hr;
}

// A node without a namespace, prefix or base name answers S_FALSE and no
// string, as MSXML does, rather than an empty string.
HRESULT NodeObject::GetNamespaceUri(BSTR* uri) {
    HRESULT hr;
    if (OpeningFails(&hr, uri))
        return hr;
    const xmlChar* namespaceUri = NamespaceUri();
    return namespaceUri && *namespaceUri ? ReturnBstr(Text(namespaceUri), uri) : S_FALSE;
}

HRESULT NodeObject::GetPrefix(BSTR* prefix) {
    HRESULT hr;
    if (OpeningFails(&hr, prefix))
        return hr;
    const xmlChar* written = Prefix();
    return written && *written ? ReturnBstr(Text(written), prefix) : S_FALSE;
}

HRESULT NodeObject::GetBaseName(BSTR* name) {
    HRESULT hr;
    if (OpeningFails(&hr, name))
        return hr;
    const xmlChar* baseName = BaseName();
    return baseName ? ReturnBstr(Text(baseName), name) : S_FALSE;
}

} // namespace ptbridge::standin
