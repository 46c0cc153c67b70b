#include "xml/print_schema_dom_helper.h"

#include "common/namespaces.h"
#include "xml/dom_utility.h"

namespace {

// Flag that makes VariantChangeType ignore the user's locale settings.
constexpr USHORT NoUserOverride = 0x04;

// Gives a created element to the caller on success (when asked for), and
// otherwise drops the reference; the element itself stays in the document.
HRESULT HandOver(HRESULT hr, IXMLDOMElement* element, IXMLDOMElement** out) {
    if (hr == S_OK && out) {
        *out = element;
        return hr;
    }
    ReleaseAndClear(element);
    return hr;
}

// What every operation gives on a helper whose Initialize failed.
HRESULT Uninitialized(IXMLDOMElement** out) {
    if (out)
        *out = nullptr;
    return E_FAIL;
}

} // namespace

PrintSchemaDomHelper::PrintSchemaDomHelper(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper)
    : XmlDomHelper(document, coreHelper) {}

PrintSchemaDomHelper::~PrintSchemaDomHelper() = default;

HRESULT PrintSchemaDomHelper::CreateNamedElement(IXMLDOMElement* parent, const WCHAR* elementName,
                                                 const WCHAR* nameNamespaceUri,
                                                 const WCHAR* nameLocalName,
                                                 IXMLDOMElement** element) {
    IXMLDOMElement* created = nullptr;
    HRESULT hr = CreateChildElement(parent, FrameworkNamespaceUri, elementName, &created);
    if (hr == S_OK)
        hr = CreateQNameAttribute(created, FrameworkNamespaceUri, W("name"), nameNamespaceUri,
                                  nameLocalName, nullptr);
    return HandOver(hr, created, element);
}

HRESULT PrintSchemaDomHelper::CreateFeature(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                            const WCHAR* nameLocalName, IXMLDOMElement** feature) {
    if (!nameLocalName)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(feature);
    return CreateNamedElement(ParentOrRoot(parent), W("Feature"), nameNamespaceUri, nameLocalName,
                              feature);
}

HRESULT PrintSchemaDomHelper::CreateOption(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                           const WCHAR* nameLocalName,
                                           const WCHAR* constrainedNamespaceUri,
                                           const WCHAR* constrainedLocalName,
                                           IXMLDOMElement** option) {
    if (!parent)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(option);
    IXMLDOMElement* created = nullptr;
    HRESULT hr = CreateChildElement(parent, FrameworkNamespaceUri, W("Option"), &created);
    if (hr == S_OK && nameLocalName)
        hr = CreateQNameAttribute(created, FrameworkNamespaceUri, W("name"), nameNamespaceUri,
                                  nameLocalName, nullptr);
    if (hr == S_OK && constrainedLocalName)
        hr = CreateQNameAttribute(created, FrameworkNamespaceUri, W("constrained"),
                                  constrainedNamespaceUri, constrainedLocalName, nullptr);
    return HandOver(hr, created, option);
}

HRESULT PrintSchemaDomHelper::CreateProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                             const WCHAR* nameLocalName,
                                             IXMLDOMElement** property) {
    if (!nameLocalName)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(property);
    return CreateNamedElement(ParentOrRoot(parent), W("Property"), nameNamespaceUri, nameLocalName,
                              property);
}

HRESULT PrintSchemaDomHelper::CreateScoredProperty(IXMLDOMElement* parent,
                                                   const WCHAR* nameNamespaceUri,
                                                   const WCHAR* nameLocalName,
                                                   IXMLDOMElement** scoredProperty) {
    if (!parent || !nameNamespaceUri || !nameLocalName)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(scoredProperty);
    return CreateNamedElement(parent, W("ScoredProperty"), nameNamespaceUri, nameLocalName,
                              scoredProperty);
}

HRESULT PrintSchemaDomHelper::CreateIntegerValue(IXMLDOMElement* parent,
                                                 const WCHAR* typeNamespaceUri,
                                                 const WCHAR* typeLocalName, INT value,
                                                 IXMLDOMElement** valueElement) {
    if (!parent)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(valueElement);
    VARIANT number;
    VariantInit(&number);
    V_VT(&number) = VT_INT;
    V_INT(&number) = value;
    HRESULT hr = VariantChangeType(&number, &number, NoUserOverride, VT_BSTR);
    if (hr == S_OK)
        hr = CreateValue(parent, typeNamespaceUri, typeLocalName, V_BSTR(&number), valueElement);
    VariantClear(&number);
    return hr;
}

HRESULT PrintSchemaDomHelper::CreateValue(IXMLDOMElement* parent, const WCHAR* typeNamespaceUri,
                                          const WCHAR* typeLocalName, const WCHAR* text,
                                          IXMLDOMElement** valueElement) {
    if (!parent || !text)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(valueElement);
    IXMLDOMElement* created = nullptr;
    HRESULT hr = CreateChildElement(parent, FrameworkNamespaceUri, W("Value"), &created);
    if (hr == S_OK && typeNamespaceUri && typeLocalName) {
        BSTR typeAttributeName = nullptr;
        hr = MakeQName(XsiNamespaceUri, W("type"), &typeAttributeName);
        if (hr == S_OK)
            hr = CreateQNameAttribute(created, XsiNamespaceUri, typeAttributeName, typeNamespaceUri,
                                      typeLocalName, nullptr);
        SysFreeString(typeAttributeName);
    }
    if (hr == S_OK) {
        BSTR textCopy = SysAllocString(text);
        hr = textCopy ? created->put_text(textCopy) : E_OUTOFMEMORY;
        SysFreeString(textCopy);
    }
    return HandOver(hr, created, valueElement);
}

HRESULT PrintSchemaDomHelper::FindNamedElement(IXMLDOMElement* parent, const WCHAR* elementName,
                                               const WCHAR* nameNamespaceUri,
                                               const WCHAR* nameLocalName,
                                               IXMLDOMElement** element) {
    BSTR wanted = nullptr;
    IXMLDOMNodeList* list = nullptr;
    HRESULT hr = MakeQName(nameNamespaceUri, nameLocalName, &wanted);
    if (hr == S_OK)
        hr = GetElementsByQName(parent, FrameworkNamespaceUri, elementName, &list);
    if (hr == S_OK)
        hr = FindByAttributeValue(list, W("name"), wanted, element);
    ReleaseAndClear(list);
    SysFreeString(wanted);
    return hr;
}

HRESULT PrintSchemaDomHelper::FindFeature(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                          const WCHAR* nameLocalName, IXMLDOMElement** feature) {
    if (!nameNamespaceUri || !nameLocalName || !feature)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(feature);
    return FindNamedElement(ParentOrRoot(parent), W("Feature"), nameNamespaceUri, nameLocalName,
                            feature);
}

HRESULT PrintSchemaDomHelper::FindProperty(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                           const WCHAR* nameLocalName, IXMLDOMElement** property) {
    if (!nameNamespaceUri || !nameLocalName || !property)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(property);
    return FindNamedElement(ParentOrRoot(parent), W("Property"), nameNamespaceUri, nameLocalName,
                            property);
}

HRESULT PrintSchemaDomHelper::FindScoredProperty(IXMLDOMElement* parent,
                                                 const WCHAR* nameNamespaceUri,
                                                 const WCHAR* nameLocalName,
                                                 IXMLDOMElement** scoredProperty) {
    if (!parent || !nameNamespaceUri || !nameLocalName || !scoredProperty)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(scoredProperty);
    return FindNamedElement(parent, W("ScoredProperty"), nameNamespaceUri, nameLocalName,
                            scoredProperty);
}

HRESULT PrintSchemaDomHelper::FindOption(IXMLDOMElement* parent, const WCHAR* nameNamespaceUri,
                                         const WCHAR* nameLocalName, IXMLDOMElement** option) {
    if (!parent || !nameNamespaceUri || !nameLocalName || !option)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(option);
    BSTR wanted = nullptr;
    IXMLDOMNodeList* options = nullptr;
    HRESULT hr = MakeQName(nameNamespaceUri, nameLocalName, &wanted);
    if (hr == S_OK)
        hr = GetElementsByQName(parent, FrameworkNamespaceUri, W("Option"), &options);
    if (hr == S_OK) {
        hr = FindByAttributeValue(options, W("name"), wanted, option);
        if (hr == S_FALSE) {
            // No option carries the name as an attribute: look for one that
            // carries it in an "OptionName" scored property instead.
            options->reset();
            hr = FindOptionByOptionName(options, wanted, option);
        }
    }
    ReleaseAndClear(options);
    SysFreeString(wanted);
    return hr;
}

HRESULT PrintSchemaDomHelper::FindOptionByOptionName(IXMLDOMNodeList* options, const WCHAR* wanted,
                                                     IXMLDOMElement** option) {
    auto hasOptionName = [&](IXMLDOMNode* node, bool* matched) {
        IXMLDOMElement* candidate = nullptr;
        IXMLDOMElement* optionName = nullptr;
        IXMLDOMElement* value = nullptr;
        // An option without an "OptionName" scored property, or without a
        // value in it, is passed over and the search goes on.
        bool lacksOptionName = false;
        HRESULT result =
            node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&candidate));
        if (result == S_OK) {
            result =
                FindScoredProperty(candidate, FrameworkNamespaceUri, W("OptionName"), &optionName);
            lacksOptionName = result == S_FALSE;
        }
        if (result == S_OK) {
            result = GetFirstValue(optionName, &value);
            lacksOptionName = result == S_FALSE;
        }
        if (result == S_OK)
            result = TextIs(value, wanted, matched);
        ReleaseAndClear(value);
        ReleaseAndClear(optionName);
        ReleaseAndClear(candidate);
        return lacksOptionName ? S_OK : result;
    };
    return FindElementInList(options, hasOptionName, option);
}

HRESULT PrintSchemaDomHelper::GetFirstOption(IXMLDOMElement* parent, IXMLDOMElement** option) {
    if (!parent || !option)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(option);
    return GetElementAt(parent, FrameworkNamespaceUri, W("Option"), 0, option);
}

HRESULT PrintSchemaDomHelper::GetFirstValue(IXMLDOMElement* parent, IXMLDOMElement** value) {
    if (!parent || !value)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(value);
    return GetElementAt(parent, FrameworkNamespaceUri, W("Value"), 0, value);
}
