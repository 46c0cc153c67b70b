// The DOM helper that knows the Print Schema framework's element shapes:
// creates Feature, Option, Property, ScoredProperty and Value elements in the
// framework namespace, named by a QName-valued "name" attribute, and finds
// them again by that name.
//
// Result rules are those of XmlDomHelper. The creating operations write their
// optional out-element only on success; an element already appended stays in
// the parent when a later step fails. The finds clear their out-element once
// the search starts; GetFirstOption and GetFirstValue clear theirs at entry.
#pragma once

#include "xml/xml_dom_helper.h"

namespace ptbridge {

class PrintSchemaDomHelper : public XmlDomHelper {
  public:
    PrintSchemaDomHelper(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper);
    ~PrintSchemaDomHelper() override;

    // A null parent means the root element; a null name namespace writes the
    // bare local name.
    virtual HRESULT CreateFeature(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                  const WCHAR* nameLocalName, IXMLDOMElement** feature);

    // "name" only when a name local name is passed, then "constrained" only
    // when a constrained local name is passed.
    virtual HRESULT CreateOption(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                 const WCHAR* nameLocalName, const WCHAR* constrainedNamespaceUri,
                                 const WCHAR* constrainedLocalName, IXMLDOMElement** option);

    virtual HRESULT CreateProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                   const WCHAR* nameLocalName, IXMLDOMElement** property);

    // The name namespace is required here.
    virtual HRESULT CreateScoredProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                         const WCHAR* nameLocalName,
                                         IXMLDOMElement** scoredProperty);

    // A Value whose text is the decimal form of `value`.
    virtual HRESULT CreateIntegerValue(IXMLDOMElement* parent, const WCHAR* typeNamespaceUri,
                                       const WCHAR* typeLocalName, INT value,
                                       IXMLDOMElement** valueElement);

    // A Value with the given text and, when both type parts are passed, an
    // xsi:type attribute whose value is their QName.
    virtual HRESULT CreateValue(IXMLDOMElement* parent, const WCHAR* typeNamespaceUri,
                                const WCHAR* typeLocalName, const WCHAR* text,
                                IXMLDOMElement** valueElement);

    virtual HRESULT FindFeature(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                const WCHAR* nameLocalName, IXMLDOMElement** feature);

    // By "name" attribute first; failing that, by the text of the first Value
    // of the option's "OptionName" scored property. Each way is first tried
    // until an option lacks that name, as the Print Schema rules search; only
    // when neither finds the option are such options passed over.
    virtual HRESULT FindOption(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                               const WCHAR* nameLocalName, IXMLDOMElement** option);

    virtual HRESULT GetFirstOption(IXMLDOMElement* parent, IXMLDOMElement** option);

    virtual HRESULT FindProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                 const WCHAR* nameLocalName, IXMLDOMElement** property);

    virtual HRESULT FindScoredProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                       const WCHAR* nameLocalName, IXMLDOMElement** scoredProperty);

    virtual HRESULT GetFirstValue(IXMLDOMElement* parent, IXMLDOMElement** value);

  private:
    // Appends a framework element and gives it a "name" attribute.
    HRESULT CreateNamedElement(IXMLDOMElement* parent, const WCHAR* elementName,
                               const WCHAR* nameNamespaceUri, const WCHAR* nameLocalName,
                               IXMLDOMElement** element);
    // Searches the parent's framework elements of one kind by "name".
    HRESULT FindNamedElement(IXMLDOMElement* parent, const WCHAR* elementName,
                             const WCHAR* nameNamespaceUri, const WCHAR* nameLocalName,
                             IXMLDOMElement** element);
    // Searches the rest of the option list by each option's "OptionName" value.
    HRESULT FindOptionByOptionName(IXMLDOMNodeList* options, const WCHAR* wanted,
                                   AtNameless atNameless, IXMLDOMElement** option);
};

} // namespace ptbridge
