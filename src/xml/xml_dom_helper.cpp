#include "xml/xml_dom_helper.h"

#include "common/com_ptr.h"
#include "common/format_string.h"
#include "xml/dom_utility.h"

namespace ptbridge {

namespace {

// Names and prefixes must be shorter than this many characters.
constexpr size_t NameBound = 10000;
// pushNodeContext's flag that also takes in the declarations of the ancestors.
constexpr VARIANT_BOOL DeepContext = 1;

HRESULT CopyString(const WCHAR* text, BSTR* copy) {
    *copy = SysAllocString(text);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

// DOM methods take their strings as BSTRs; a null text stays null.
HRESULT CopyOptionalString(const WCHAR* text, BSTR* copy) {
    *copy = nullptr;
    return text ? CopyString(text, copy) : S_OK;
}

const WCHAR* FirstColon(const WCHAR* text) {
    for (; *text; ++text) {
        if (*text == ':')
            return text;
    }
    return nullptr;
}

HRESULT CreateNode(IXMLDOMDocument2* document, DOMNodeType type, BSTR name, BSTR namespaceUri,
                   IXMLDOMNode** node) {
    UniqueVariant nodeType;
    V_VT(nodeType.Get()) = VT_I4;
    V_I4(nodeType.Get()) = type;
    return document->createNode(*nodeType.Get(), name, namespaceUri, node);
}

// Sets the attribute's value to a copy of `text`.
HRESULT PutStringValue(IXMLDOMAttribute* attribute, const WCHAR* text) {
    UniqueVariant value;
    V_VT(value.Get()) = VT_BSTR;
    RETURN_IF_NOT_OK(CopyString(text, &V_BSTR(value.Get())));
    return attribute->put_value(*value.Get());
}

// The attribute of `node` named exactly `name`: S_FALSE and null when absent.
// `nameCopy` is the BSTR form of the name that the DOM is given: made here at
// first use and then kept by the caller (who frees it), so that a search over
// many nodes copies the name once rather than once per node.
HRESULT GetNamedItem(IXMLDOMNode* node, const WCHAR* name, UniqueBstr* nameCopy,
                     IXMLDOMNode** item) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    RETURN_IF_NOT_OK(node->get_attributes(attributes.Put()));
    if (!nameCopy->Get())
        RETURN_IF_NOT_OK(CopyString(name, nameCopy->Put()));
    return attributes->getNamedItem(nameCopy->Get(), item);
}

// Asks a namespace-manager query for the length of its text (no buffer), then
// for the text itself into a BSTR whose length is exactly that text's.
template <typename Query> HRESULT QueryText(Query query, BSTR* text) {
    int length = 0;
    RETURN_IF_NOT_OK(query(nullptr, &length));
    UniqueBstr buffer(SysAllocStringLen(nullptr, UINT(length)));
    if (!buffer.Get())
        return E_OUTOFMEMORY;
    int capacity = length + 1;
    RETURN_IF_NOT_OK(query(buffer.Get(), &capacity));
    *text = buffer.Detach();
    return S_OK;
}

// Runs a QueryText with the declarations in scope at `context` pushed, and
// always pops what it pushed. The query's failure wins over popContext's; a
// failed pop also takes back the text.
template <typename Query>
HRESULT QueryInContext(IMXNamespaceManager* manager, IXMLDOMNode* context, Query query,
                       BSTR* text) {
    HRESULT pushed = manager->pushNodeContext(context, DeepContext);
    if (FAILED(pushed))
        return pushed;
    UniqueBstr found;
    HRESULT result = pushed == S_OK ? QueryText(query, found.Put()) : pushed;
    HRESULT popped = manager->popContext();
    RETURN_IF_NOT_OK(result);
    RETURN_IF_NOT_OK(popped);
    *text = found.Detach();
    return S_OK;
}

// "prefix:localName", or the local name alone for an empty prefix.
HRESULT JoinQName(const WCHAR* prefix, const WCHAR* localName, BSTR* qName) {
    size_t prefixLength = 0;
    RETURN_IF_NOT_OK(BoundedLength(prefix, NameBound, &prefixLength));
    if (prefixLength == 0)
        return CopyString(localName, qName);
    size_t localLength = 0;
    RETURN_IF_NOT_OK(BoundedLength(localName, NameBound, &localLength));
    // The BSTR counts exactly the text; its terminator lies beyond the count.
    size_t length = prefixLength + 1 + localLength;
    UniqueBstr text(SysAllocStringLen(nullptr, UINT(length)));
    if (!text.Get())
        return E_OUTOFMEMORY;
    RETURN_IF_NOT_OK(FormatString(text.Get(), length + 1, W("%s:%s"), prefix, localName));
    *qName = text.Detach();
    return S_OK;
}

} // namespace

XmlDomHelper::XmlDomHelper(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper) {
    initialResult_ = Initialize(document, coreHelper);
}

XmlDomHelper::~XmlDomHelper() {
    ReleaseReferences();
}

void XmlDomHelper::ReleaseReferences() {
    // Written out, not left to the members' destruction: the document goes
    // first, then its root element, then the namespace manager.
    document_.Reset();
    root_.Reset();
    namespaceManager_.Reset();
}

HRESULT XmlDomHelper::Initialize(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper) {
    if (!document || !coreHelper)
        return E_INVALIDARG;
    // Taken before the old references go, in case the document is the same one.
    document->AddRef();
    ReleaseReferences();
    document_.Attach(document);
    HRESULT hr = coreHelper->CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60, nullptr, 0,
                                                         IID_IMXNamespaceManager,
                                                         namespaceManager_.PutVoid());
    if (hr == S_OK)
        hr = document_->get_documentElement(root_.Put());
    if (hr != S_OK)
        ReleaseReferences();
    return hr;
}

HRESULT XmlDomHelper::LookupPrefix(const WCHAR* namespaceUri, BSTR* prefix) {
    if (!namespaceUri || !prefix)
        return E_INVALIDARG;
    *prefix = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    // Whatever the manager answers for a namespace without a prefix (MSXML 6:
    // E_FAIL; for the empty namespace E_INVALIDARG) is the lookup's result.
    auto getPrefix = [&](WCHAR* buffer, int* count) {
        return namespaceManager_->getPrefix(namespaceUri, 0, buffer, count);
    };
    return QueryInContext(namespaceManager_.Get(), root_.Get(), getPrefix, prefix);
}

HRESULT XmlDomHelper::MakeQName(const WCHAR* namespaceUri, const WCHAR* localName, BSTR* qName) {
    if (!localName || !qName)
        return E_INVALIDARG;
    *qName = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    if (!namespaceUri)
        return CopyString(localName, qName);
    UniqueBstr prefix;
    RETURN_IF_NOT_OK(LookupPrefix(namespaceUri, prefix.Put()));
    return JoinQName(prefix.Get(), localName, qName);
}

HRESULT XmlDomHelper::CountElements(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                    const WCHAR* localName, LONG* count) {
    if (!parent || !namespaceUri || !localName || !count)
        return E_INVALIDARG;
    if (!IsInitialized())
        return E_FAIL;
    ComPtr<IXMLDOMNodeList> list;
    RETURN_IF_NOT_OK(GetElementsByQName(parent, namespaceUri, localName, list.Put()));
    LONG length = 0;
    RETURN_IF_NOT_OK(list->get_length(&length));
    *count = length;
    return S_OK;
}

HRESULT XmlDomHelper::CreateChildElement(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                         const WCHAR* localName, IXMLDOMElement** element) {
    if (!parent || !localName)
        return E_INVALIDARG;
    if (element)
        *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    UniqueBstr qName;
    UniqueBstr namespaceCopy;
    ComPtr<IXMLDOMNode> node;
    RETURN_IF_NOT_OK(MakeQName(namespaceUri, localName, qName.Put()));
    RETURN_IF_NOT_OK(CopyOptionalString(namespaceUri, namespaceCopy.Put()));
    HRESULT created =
        CreateNode(document_.Get(), NODE_ELEMENT, qName.Get(), namespaceCopy.Get(), node.Put());
    // The names are needed only by createNode: freed before the node is appended.
    qName.Reset();
    namespaceCopy.Reset();
    RETURN_IF_NOT_OK(created);
    RETURN_IF_NOT_OK(parent->appendChild(node.Get(), nullptr));
    // Once appended, the element stays in the parent even if this fails.
    return element ? node.QueryTo(IID_IXMLDOMElement, element) : S_OK;
}

HRESULT
XmlDomHelper::CreateQNameAttribute(IXMLDOMElement* element, const WCHAR* attributeNamespaceUri,
                                   const WCHAR* attributeName, const WCHAR* valueNamespaceUri,
                                   const WCHAR* valueLocalName, IXMLDOMAttribute** attribute) {
    if (!element || !attributeName || !valueLocalName)
        return E_INVALIDARG;
    if (attribute)
        *attribute = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    UniqueBstr valueText;
    UniqueBstr nameCopy;
    UniqueBstr namespaceCopy;
    ComPtr<IXMLDOMNode> node;
    ComPtr<IXMLDOMAttribute> newAttribute;
    RETURN_IF_NOT_OK(MakeQName(valueNamespaceUri, valueLocalName, valueText.Put()));
    RETURN_IF_NOT_OK(CopyString(attributeName, nameCopy.Put()));
    RETURN_IF_NOT_OK(CopyOptionalString(attributeNamespaceUri, namespaceCopy.Put()));
    HRESULT created = CreateNode(document_.Get(), NODE_ATTRIBUTE, nameCopy.Get(),
                                 namespaceCopy.Get(), node.Put());
    // The name copies are needed only by createNode.
    nameCopy.Reset();
    namespaceCopy.Reset();
    RETURN_IF_NOT_OK(created);
    RETURN_IF_NOT_OK(node.QueryTo(IID_IXMLDOMAttribute, newAttribute.Put()));
    RETURN_IF_NOT_OK(PutStringValue(newAttribute.Get(), valueText.Get()));
    // The attribute joins the element only here, so any earlier failure leaves
    // the element as it was.
    RETURN_IF_NOT_OK(element->setAttributeNode(newAttribute.Get(), nullptr));
    if (attribute)
        *attribute = newAttribute.Detach();
    return S_OK;
}

HRESULT XmlDomHelper::GetRootElement(IXMLDOMElement** root) {
    if (!root)
        return E_INVALIDARG;
    *root = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    root_->AddRef();
    *root = root_.Get();
    return S_OK;
}

HRESULT XmlDomHelper::GetElementAt(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                   const WCHAR* localName, LONG index, IXMLDOMElement** element) {
    if (!parent || !namespaceUri || !localName || !element)
        return E_INVALIDARG;
    *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    ComPtr<IXMLDOMNodeList> list;
    ComPtr<IXMLDOMNode> node;
    RETURN_IF_NOT_OK(GetElementsByQName(parent, namespaceUri, localName, list.Put()));
    RETURN_IF_NOT_OK(list->get_item(index, node.Put()));
    return node.QueryTo(IID_IXMLDOMElement, element);
}

HRESULT XmlDomHelper::GetAttributeNode(IXMLDOMElement* element, const WCHAR* attributeName,
                                       IXMLDOMAttribute** attribute) {
    if (!element || !attributeName || !attribute)
        return E_INVALIDARG;
    *attribute = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    ComPtr<IXMLDOMNode> node;
    UniqueBstr nameCopy;
    RETURN_IF_NOT_OK(GetNamedItem(element, attributeName, &nameCopy, node.Put()));
    return node.QueryTo(IID_IXMLDOMAttribute, attribute);
}

HRESULT XmlDomHelper::GetElementsByQName(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                         const WCHAR* localName, IXMLDOMNodeList** list) {
    if (!localName || !list)
        return E_INVALIDARG;
    if (!IsInitialized()) {
        *list = nullptr;
        return E_FAIL;
    }
    UniqueBstr qName;
    RETURN_IF_NOT_OK(MakeQName(namespaceUri, localName, qName.Put()));
    return ParentOrRoot(parent)->getElementsByTagName(qName.Get(), list);
}

HRESULT XmlDomHelper::FindByAttributeValue(IXMLDOMNodeList* list, const WCHAR* attributeName,
                                           const WCHAR* value, IXMLDOMElement** element) {
    return SearchByAttributeValue(list, attributeName, value, AtNameless::PassOver, element);
}

HRESULT XmlDomHelper::SearchByAttributeValue(IXMLDOMNodeList* list, const WCHAR* attributeName,
                                             const WCHAR* value, AtNameless atNameless,
                                             IXMLDOMElement** element) {
    if (!list || !attributeName || !value || !element)
        return E_INVALIDARG;
    *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    UniqueBstr nameCopy;
    auto hasValue = [&](IXMLDOMNode* node, NodeMatch* match) {
        ComPtr<IXMLDOMNode> item;
        ComPtr<IXMLDOMAttribute> attribute;
        HRESULT result = GetNamedItem(node, attributeName, &nameCopy, item.Put());
        if (result == S_FALSE) {
            *match = NodeMatch::LacksName;
            return S_OK;
        }
        RETURN_IF_NOT_OK(result);
        RETURN_IF_NOT_OK(item.QueryTo(IID_IXMLDOMAttribute, attribute.Put()));
        bool same = false;
        RETURN_IF_NOT_OK(TextIs(attribute.Get(), value, &same));
        *match = same ? NodeMatch::Yes : NodeMatch::No;
        return S_OK;
    };
    return FindElementInList(list, hasValue, atNameless, element);
}

HRESULT XmlDomHelper::RemoveChild(IXMLDOMElement* parent, IXMLDOMElement* child) {
    if (!child)
        return E_INVALIDARG;
    if (!IsInitialized())
        return E_FAIL;
    ComPtr<IXMLDOMNode> removed;
    return ParentOrRoot(parent)->removeChild(child, removed.Put());
}

HRESULT XmlDomHelper::ResolveQNameNamespace(IXMLDOMElement* context, const WCHAR* qName,
                                            BSTR* namespaceUri) {
    if (!context || !qName || !namespaceUri)
        return E_INVALIDARG;
    *namespaceUri = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    UniqueBstr prefix;
    RETURN_IF_NOT_OK(PrefixPartOf(qName, prefix.Put()));
    auto getUri = [&](WCHAR* buffer, int* count) {
        return namespaceManager_->getURI(prefix.Get(), nullptr, buffer, count);
    };
    return QueryInContext(namespaceManager_.Get(), context, getUri, namespaceUri);
}

HRESULT XmlDomHelper::LocalPartOf(const WCHAR* qName, BSTR* localName) {
    if (!qName || !localName)
        return E_INVALIDARG;
    *localName = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    const WCHAR* colon = FirstColon(qName);
    return CopyString(colon ? colon + 1 : qName, localName);
}

HRESULT XmlDomHelper::PrefixPartOf(const WCHAR* qName, BSTR* prefix) {
    if (!qName || !prefix)
        return E_INVALIDARG;
    *prefix = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    const WCHAR* colon = FirstColon(qName);
    *prefix = SysAllocStringLen(qName, colon ? UINT(colon - qName) : 0);
    return *prefix ? S_OK : E_OUTOFMEMORY;
}

} // namespace ptbridge
