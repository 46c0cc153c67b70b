#include "xml_dom_helper.h"

HRESULT XmlDomHelper::Initialize(IXMLDOMDocument2* /*document*/, IPrintCoreHelper* /*coreHelper*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::MakeQName(const WCHAR* /*namespaceUri*/, const WCHAR* /*localName*/, BSTR* /*qName*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::CountElements(IXMLDOMElement* /*parent*/, const WCHAR* /*namespaceUri*/, const WCHAR* /*localName*/, LONG* /*count*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::CreateChildElement(IXMLDOMElement* /*parent*/, const WCHAR* /*namespaceUri*/, const WCHAR* /*localName*/, IXMLDOMElement** /*element*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::CreateQNameAttribute(IXMLDOMElement* /*element*/, const WCHAR* /*attributeNamespaceUri*/, const WCHAR* /*attributeName*/, const WCHAR* /*valueNamespaceUri*/, const WCHAR* /*valueLocalName*/, IXMLDOMAttribute** /*attribute*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::GetRootElement(IXMLDOMElement** /*root*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::GetElementAt(IXMLDOMElement* /*parent*/, const WCHAR* /*namespaceUri*/, const WCHAR* /*localName*/, LONG /*index*/, IXMLDOMElement** /*element*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::GetAttributeNode(IXMLDOMElement* /*element*/, const WCHAR* /*attributeName*/, IXMLDOMAttribute** /*attribute*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::GetElementsByQName(IXMLDOMElement* /*parent*/, const WCHAR* /*namespaceUri*/, const WCHAR* /*localName*/, IXMLDOMNodeList** /*list*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::FindByAttributeValue(IXMLDOMNodeList* /*list*/, const WCHAR* /*attributeName*/, const WCHAR* /*value*/, IXMLDOMElement** /*element*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::RemoveChild(IXMLDOMElement* /*parent*/, IXMLDOMElement* /*child*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::ResolveQNameNamespace(IXMLDOMElement* /*context*/, const WCHAR* /*qName*/, BSTR* /*namespaceUri*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::LocalPartOf(const WCHAR* /*qName*/, BSTR* /*localName*/) { return E_NOTIMPL; }

HRESULT XmlDomHelper::PrefixPartOf(const WCHAR* /*qName*/, BSTR* /*prefix*/) { return E_NOTIMPL; }
XmlDomHelper::XmlDomHelper(IXMLDOMDocument2*, IPrintCoreHelper*) {}
XmlDomHelper::~XmlDomHelper() {}
HRESULT XmlDomHelper::LookupPrefix(const WCHAR*, BSTR*) { return E_NOTIMPL; }
void XmlDomHelper::ReleaseReferences() {}
