#include "print_schema_dom_helper.h"

HRESULT PrintSchemaDomHelper::CreateFeature(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*feature*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::CreateOption(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, const WCHAR* /*constrainedNamespaceUri*/, const WCHAR* /*constrainedLocalName*/, IXMLDOMElement** /*option*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::CreateProperty(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*property*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::CreateScoredProperty(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*scoredProperty*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::CreateIntegerValue(IXMLDOMElement* /*parent*/, const WCHAR* /*typeNamespaceUri*/, const WCHAR* /*typeLocalName*/, INT /*value*/, IXMLDOMElement** /*valueElement*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::CreateValue(IXMLDOMElement* /*parent*/, const WCHAR* /*typeNamespaceUri*/, const WCHAR* /*typeLocalName*/, const WCHAR* /*text*/, IXMLDOMElement** /*valueElement*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::FindFeature(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*feature*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::FindOption(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*option*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::GetFirstOption(IXMLDOMElement* /*parent*/, IXMLDOMElement** /*option*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::FindProperty(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*property*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::FindScoredProperty(IXMLDOMElement* /*parent*/, const WCHAR* /*nameNamespaceUri*/, const WCHAR* /*nameLocalName*/, IXMLDOMElement** /*scoredProperty*/) { return E_NOTIMPL; }

HRESULT PrintSchemaDomHelper::GetFirstValue(IXMLDOMElement* /*parent*/, IXMLDOMElement** /*value*/) { return E_NOTIMPL; }
PrintSchemaDomHelper::PrintSchemaDomHelper(IXMLDOMDocument2* d, IPrintCoreHelper* c) : XmlDomHelper(d, c) {}
PrintSchemaDomHelper::~PrintSchemaDomHelper() {}
