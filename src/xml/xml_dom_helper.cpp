#include "xml/xml_dom_helper.h"

#include "common/format_string.h"
#include "xml/dom_utility.h"

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
    VARIANT nodeType;
    VariantInit(&nodeType);
    V_VT(&nodeType) = VT_I4;
    V_I4(&nodeType) = type;
    HRESULT hr = document->createNode(nodeType, name, namespaceUri, node);
    VariantClear(&nodeType);
    return hr;
}

// The attribute of `node` named exactly `name`: S_FALSE and null when absent.
// `nameCopy` is the BSTR form of the name that the DOM is given: made here at
// first use and then kept by the caller (who frees it), so that a search over
// many nodes copies the name once rather than once per node.
HRESULT GetNamedItem(IXMLDOMNode* node, const WCHAR* name, BSTR* nameCopy, IXMLDOMNode** item) {
    IXMLDOMNamedNodeMap* attributes = nullptr;
    HRESULT hr = node->get_attributes(&attributes);
    if (hr == S_OK && !*nameCopy)
        hr = CopyString(name, nameCopy);
    if (hr == S_OK)
        hr = attributes->getNamedItem(*nameCopy, item);
    ReleaseAndClear(attributes);
    return hr;
}

// Asks a namespace-manager query for the length of its text (no buffer), then
// for the text itself into a BSTR whose length is exactly that text's.
template <typename Query> HRESULT QueryText(Query query, BSTR* text) {
    int length = 0;
    HRESULT hr = query(nullptr, &length);
    if (hr != S_OK)
        return hr;
    BSTR buffer = SysAllocStringLen(nullptr, UINT(length));
    if (!buffer)
        return E_OUTOFMEMORY;
    int capacity = length + 1;
    hr = query(buffer, &capacity);
    if (hr != S_OK) {
        SysFreeString(buffer);
        return hr;
    }
    *text = buffer;
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
    HRESULT result = pushed == S_OK ? QueryText(query, text) : pushed;
    HRESULT popped = manager->popContext();
    if (result == S_OK && popped != S_OK) {
        SysFreeString(*text);
        *text = nullptr;
    }
    return result == S_OK ? popped : result;
}

// "prefix:localName", or the local name alone for an empty prefix.
HRESULT JoinQName(const WCHAR* prefix, const WCHAR* localName, BSTR* qName) {
    size_t prefixLength = 0;
    HRESULT hr = BoundedLength(prefix, NameBound, &prefixLength);
    if (hr != S_OK)
        return hr;
    if (prefixLength == 0)
        return CopyString(localName, qName);
    size_t localLength = 0;
    hr = BoundedLength(localName, NameBound, &localLength);
    if (hr != S_OK)
        return hr;
    // The BSTR counts exactly the text; its terminator lies beyond the count.
    size_t length = prefixLength + 1 + localLength;
    BSTR text = SysAllocStringLen(nullptr, UINT(length));
    if (!text)
        return E_OUTOFMEMORY;
    hr = FormatString(text, length + 1, W("%s:%s"), prefix, localName);
    if (hr != S_OK) {
        SysFreeString(text);
        return hr;
    }
    *qName = text;
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
    ReleaseAndClear(document_);
    ReleaseAndClear(root_);
    ReleaseAndClear(namespaceManager_);
}

HRESULT XmlDomHelper::Initialize(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper) {
    if (!document || !coreHelper)
        return E_INVALIDARG;
    // Taken before the old references go, in case the document is the same one.
    document->AddRef();
    ReleaseReferences();
    document_ = document;
    HRESULT hr = coreHelper->CreateInstanceOfMSXMLObject(
        CLSID_MXNamespaceManager60, nullptr, 0, IID_IMXNamespaceManager,
        reinterpret_cast<void**>(&namespaceManager_));
    if (hr == S_OK)
        hr = document_->get_documentElement(&root_);
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
    auto getPrefix = [&](WCHAR* buffer, int* count) {
        return namespaceManager_->getPrefix(namespaceUri, 0, buffer, count);
    };
    return QueryInContext(namespaceManager_, root_, getPrefix, prefix);
}

HRESULT XmlDomHelper::MakeQName(const WCHAR* namespaceUri, const WCHAR* localName, BSTR* qName) {
    if (!localName || !qName)
        return E_INVALIDARG;
    *qName = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    if (!namespaceUri)
        return CopyString(localName, qName);
    BSTR prefix = nullptr;
    HRESULT hr = LookupPrefix(namespaceUri, &prefix);
    if (hr == S_OK)
        hr = JoinQName(prefix, localName, qName);
    SysFreeString(prefix);
    return hr;
}

HRESULT XmlDomHelper::CountElements(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                    const WCHAR* localName, LONG* count) {
    if (!parent || !namespaceUri || !localName || !count)
        return E_INVALIDARG;
    if (!IsInitialized())
        return E_FAIL;
    IXMLDOMNodeList* list = nullptr;
    HRESULT hr = GetElementsByQName(parent, namespaceUri, localName, &list);
    LONG length = 0;
    if (hr == S_OK)
        hr = list->get_length(&length);
    if (hr == S_OK)
        *count = length;
    ReleaseAndClear(list);
    return hr;
}

HRESULT XmlDomHelper::CreateChildElement(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                         const WCHAR* localName, IXMLDOMElement** element) {
    if (!parent || !localName)
        return E_INVALIDARG;
    if (element)
        *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    BSTR qName = nullptr;
    BSTR namespaceCopy = nullptr;
    IXMLDOMNode* node = nullptr;
    HRESULT hr = MakeQName(namespaceUri, localName, &qName);
    if (hr == S_OK)
        hr = CopyOptionalString(namespaceUri, &namespaceCopy);
    if (hr == S_OK)
        hr = CreateNode(document_, NODE_ELEMENT, qName, namespaceCopy, &node);
    SysFreeString(qName);
    SysFreeString(namespaceCopy);
    if (hr == S_OK)
        hr = parent->appendChild(node, nullptr);
    // Once appended, the element stays in the parent even if this fails.
    if (hr == S_OK && element)
        hr = node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
    ReleaseAndClear(node);
    return hr;
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
    BSTR valueText = nullptr;
    HRESULT hr = MakeQName(valueNamespaceUri, valueLocalName, &valueText);
    if (hr != S_OK)
        return hr;

    BSTR nameCopy = nullptr;
    BSTR namespaceCopy = nullptr;
    IXMLDOMNode* node = nullptr;
    hr = CopyString(attributeName, &nameCopy);
    if (hr == S_OK)
        hr = CopyOptionalString(attributeNamespaceUri, &namespaceCopy);
    if (hr == S_OK)
        hr = CreateNode(document_, NODE_ATTRIBUTE, nameCopy, namespaceCopy, &node);
    SysFreeString(nameCopy);
    SysFreeString(namespaceCopy);

    IXMLDOMAttribute* newAttribute = nullptr;
    if (hr == S_OK)
        hr = node->QueryInterface(IID_IXMLDOMAttribute, reinterpret_cast<void**>(&newAttribute));
    if (hr == S_OK) {
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = VT_BSTR;
        hr = CopyString(valueText, &V_BSTR(&value));
        if (hr == S_OK)
            hr = newAttribute->put_value(value);
        VariantClear(&value);
    }
    // The attribute joins the element only here, so any earlier failure leaves
    // the element as it was.
    if (hr == S_OK)
        hr = element->setAttributeNode(newAttribute, nullptr);
    if (hr == S_OK && attribute) {
        *attribute = newAttribute;
        newAttribute = nullptr;
    }
    ReleaseAndClear(newAttribute);
    ReleaseAndClear(node);
    SysFreeString(valueText);
    return hr;
}

HRESULT XmlDomHelper::GetRootElement(IXMLDOMElement** root) {
    if (!root)
        return E_INVALIDARG;
    *root = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    root_->AddRef();
    *root = root_;
    return S_OK;
}

HRESULT XmlDomHelper::GetElementAt(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                   const WCHAR* localName, LONG index, IXMLDOMElement** element) {
    if (!parent || !namespaceUri || !localName || !element)
        return E_INVALIDARG;
    *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    IXMLDOMNodeList* list = nullptr;
    IXMLDOMNode* node = nullptr;
    HRESULT hr = GetElementsByQName(parent, namespaceUri, localName, &list);
    if (hr == S_OK)
        hr = list->get_item(index, &node);
    if (hr == S_OK)
        hr = node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
    ReleaseAndClear(node);
    ReleaseAndClear(list);
    return hr;
}

HRESULT XmlDomHelper::GetAttributeNode(IXMLDOMElement* element, const WCHAR* attributeName,
                                       IXMLDOMAttribute** attribute) {
    if (!element || !attributeName || !attribute)
        return E_INVALIDARG;
    *attribute = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    IXMLDOMNode* node = nullptr;
    BSTR nameCopy = nullptr;
    HRESULT hr = GetNamedItem(element, attributeName, &nameCopy, &node);
    SysFreeString(nameCopy);
    if (hr == S_OK)
        hr = node->QueryInterface(IID_IXMLDOMAttribute, reinterpret_cast<void**>(attribute));
    ReleaseAndClear(node);
    return hr;
}

HRESULT XmlDomHelper::GetElementsByQName(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                         const WCHAR* localName, IXMLDOMNodeList** list) {
    if (!localName || !list)
        return E_INVALIDARG;
    if (!IsInitialized()) {
        *list = nullptr;
        return E_FAIL;
    }
    BSTR qName = nullptr;
    HRESULT hr = MakeQName(namespaceUri, localName, &qName);
    if (hr == S_OK)
        hr = ParentOrRoot(parent)->getElementsByTagName(qName, list);
    SysFreeString(qName);
    return hr;
}

HRESULT XmlDomHelper::FindByAttributeValue(IXMLDOMNodeList* list, const WCHAR* attributeName,
                                           const WCHAR* value, IXMLDOMElement** element) {
    if (!list || !attributeName || !value || !element)
        return E_INVALIDARG;
    *element = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    HRESULT result = S_OK;
    IXMLDOMNode* found = nullptr;
    BSTR nameCopy = nullptr;
    while (result == S_OK && !found) {
        IXMLDOMNode* node = nullptr;
        HRESULT next = list->nextNode(&node);
        if (next != S_OK) {
            // The end of the list (S_FALSE) only ends the search; a failure is reported.
            if (FAILED(next))
                result = next;
            ReleaseAndClear(node);
            break;
        }
        IXMLDOMNode* item = nullptr;
        IXMLDOMAttribute* attribute = nullptr;
        BSTR text = nullptr;
        result = GetNamedItem(node, attributeName, &nameCopy, &item);
        // A node without the attribute is passed over; the search goes on.
        bool lacksAttribute = result == S_FALSE;
        if (result == S_OK)
            result =
                item->QueryInterface(IID_IXMLDOMAttribute, reinterpret_cast<void**>(&attribute));
        if (result == S_OK)
            result = attribute->get_text(&text);
        if (result == S_OK && SameText(text, value)) {
            found = node;
            node = nullptr;
        }
        if (lacksAttribute)
            result = S_OK;
        SysFreeString(text);
        ReleaseAndClear(attribute);
        ReleaseAndClear(item);
        ReleaseAndClear(node);
    }
    SysFreeString(nameCopy);
    if (!found)
        return result == S_OK ? S_FALSE : result;
    HRESULT hr = found->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element));
    found->Release();
    return hr;
}

HRESULT XmlDomHelper::RemoveChild(IXMLDOMElement* parent, IXMLDOMElement* child) {
    if (!child)
        return E_INVALIDARG;
    if (!IsInitialized())
        return E_FAIL;
    IXMLDOMNode* removed = nullptr;
    HRESULT hr = ParentOrRoot(parent)->removeChild(child, &removed);
    ReleaseAndClear(removed);
    return hr;
}

HRESULT XmlDomHelper::ResolveQNameNamespace(IXMLDOMElement* context, const WCHAR* qName,
                                            BSTR* namespaceUri) {
    if (!context || !qName || !namespaceUri)
        return E_INVALIDARG;
    *namespaceUri = nullptr;
    if (!IsInitialized())
        return E_FAIL;
    BSTR prefix = nullptr;
    HRESULT hr = PrefixPartOf(qName, &prefix);
    if (hr == S_OK) {
        auto getUri = [&](WCHAR* buffer, int* count) {
            return namespaceManager_->getURI(prefix, nullptr, buffer, count);
        };
        hr = QueryInContext(namespaceManager_, context, getUri, namespaceUri);
    }
    SysFreeString(prefix);
    return hr;
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
