// The MSXML 6 DOM interfaces and the namespace manager, for systems other than
// Windows. Each interface keeps MSXML's relative slot order for the methods it
// declares; methods that neither the plug-in nor its host call are left out, and
// the IDispatch layer is omitted because nothing here dispatches by name.
#pragma once

#include "windows.h"

typedef enum tagDOMNodeType {
    NODE_INVALID = 0,
    NODE_ELEMENT = 1,
    NODE_ATTRIBUTE = 2,
    NODE_TEXT = 3,
    NODE_CDATA_SECTION = 4,
    NODE_ENTITY_REFERENCE = 5,
    NODE_ENTITY = 6,
    NODE_PROCESSING_INSTRUCTION = 7,
    NODE_COMMENT = 8,
    NODE_DOCUMENT = 9,
    NODE_DOCUMENT_TYPE = 10,
    NODE_DOCUMENT_FRAGMENT = 11,
    NODE_NOTATION = 12
} DOMNodeType;

// A caller's buffer cannot hold the text asked for.
#define E_XML_BUFFERTOOSMALL ((HRESULT)0xC00CE226L)

struct IXMLDOMNode;
struct IXMLDOMNodeList;
struct IXMLDOMNamedNodeMap;
struct IXMLDOMElement;
struct IXMLDOMAttribute;
struct IXMLDOMDocument;

struct IXMLDOMNode : IUnknown {
    STDMETHOD(get_nodeName)(BSTR* name) = 0;
    STDMETHOD(get_nodeType)(DOMNodeType* type) = 0;
    STDMETHOD(get_parentNode)(IXMLDOMNode** parent) = 0;
    STDMETHOD(get_childNodes)(IXMLDOMNodeList** childList) = 0;
    STDMETHOD(get_attributes)(IXMLDOMNamedNodeMap** attributeMap) = 0;
    STDMETHOD(removeChild)(IXMLDOMNode* childNode, IXMLDOMNode** oldChild) = 0;
    STDMETHOD(appendChild)(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) = 0;
    STDMETHOD(get_ownerDocument)(IXMLDOMDocument** document) = 0;
    STDMETHOD(get_text)(BSTR* text) = 0;
    STDMETHOD(put_text)(BSTR text) = 0;
    STDMETHOD(get_xml)(BSTR* xmlString) = 0;
    STDMETHOD(get_namespaceURI)(BSTR* namespaceURI) = 0;
    STDMETHOD(get_prefix)(BSTR* prefix) = 0;
    STDMETHOD(get_baseName)(BSTR* nameString) = 0;
};

struct IXMLDOMNodeList : IUnknown {
    STDMETHOD(get_item)(LONG index, IXMLDOMNode** listItem) = 0;
    STDMETHOD(get_length)(LONG* listLength) = 0;
    STDMETHOD(nextNode)(IXMLDOMNode** nextItem) = 0;
    STDMETHOD(reset)() = 0;
};

struct IXMLDOMNamedNodeMap : IUnknown {
    STDMETHOD(getNamedItem)(BSTR name, IXMLDOMNode** namedItem) = 0;
    STDMETHOD(get_item)(LONG index, IXMLDOMNode** listItem) = 0;
    STDMETHOD(get_length)(LONG* listLength) = 0;
};

struct IXMLDOMAttribute : IXMLDOMNode {
    STDMETHOD(get_name)(BSTR* attributeName) = 0;
    STDMETHOD(get_value)(VARIANT* attributeValue) = 0;
    STDMETHOD(put_value)(VARIANT attributeValue) = 0;
};

struct IXMLDOMElement : IXMLDOMNode {
    STDMETHOD(get_tagName)(BSTR* tagName) = 0;
    STDMETHOD(setAttributeNode)
    (IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) = 0;
    STDMETHOD(getElementsByTagName)(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
};

struct IXMLDOMDocument : IXMLDOMNode {
    STDMETHOD(get_documentElement)(IXMLDOMElement** DOMElement) = 0;
    STDMETHOD(getElementsByTagName)(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
    STDMETHOD(createNode)(VARIANT Type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) = 0;
    STDMETHOD(loadXML)(BSTR bstrXML, VARIANT_BOOL* isSuccessful) = 0;
    STDMETHOD(get_preserveWhiteSpace)(VARIANT_BOOL* isPreserved) = 0;
    STDMETHOD(put_preserveWhiteSpace)(VARIANT_BOOL isPreserved) = 0;
};

struct IXMLDOMDocument2 : IXMLDOMDocument {};

struct IMXNamespaceManager : IUnknown {
    STDMETHOD(putAllowOverride)(VARIANT_BOOL fOverride) = 0;
    STDMETHOD(getAllowOverride)(VARIANT_BOOL* fOverride) = 0;
    STDMETHOD(reset)() = 0;
    STDMETHOD(pushContext)() = 0;
    STDMETHOD(pushNodeContext)(IXMLDOMNode* contextNode, VARIANT_BOOL fDeep) = 0;
    STDMETHOD(popContext)() = 0;
    STDMETHOD(declarePrefix)(const WCHAR* prefix, const WCHAR* namespaceURI) = 0;
    STDMETHOD(getDeclaredPrefix)(LONG nIndex, WCHAR* pwchPrefix, int* pcchPrefix) = 0;
    STDMETHOD(getPrefix)
    (const WCHAR* pwszNamespaceURI, LONG nIndex, WCHAR* pwchPrefix, int* pcchPrefix) = 0;
    STDMETHOD(getURI)
    (const WCHAR* pwchPrefix, IXMLDOMNode* pContextNode, WCHAR* pwchUri, int* pcchUri) = 0;
};

EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMNode;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMNodeList;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMNamedNodeMap;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMElement;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMAttribute;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMDocument;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IXMLDOMDocument2;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IMXNamespaceManager;
EXTERN_C PTBRIDGE_STANDIN_API const CLSID CLSID_MXNamespaceManager60;
EXTERN_C PTBRIDGE_STANDIN_API const CLSID CLSID_DOMDocument60;
