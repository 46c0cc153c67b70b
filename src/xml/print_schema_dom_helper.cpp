#include "xml/print_schema_dom_helper.h"

#include "common/com_ptr.h"
#include "common/namespaces.h"
#include "xml/dom_utility.h"

namespace ptbridge {

namespace {

// Flag that makes VariantChangeType ignore the user's locale settings.
constexpr USHORT NoUserOverride = 0x04;

// Gives a created element to the caller when asked for; otherwise its owner
// drops the reference and the element itself stays in the document.
HRESULT HandOver(ComPtr<IXMLDOMElement>* created, IXMLDOMElement** out) {
    if (out)
        *out = created->Detach();
    return S_OK;
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
    ComPtr<IXMLDOMElement> created;
    RETURN_IF_NOT_OK(CreateChildElement(parent, FrameworkNamespaceUri, elementName, created.Put()));
    RETURN_IF_NOT_OK(CreateQNameAttribute(created.Get(), FrameworkNamespaceUri, W("name"),
                                          nameNamespaceUri, nameLocalName, nullptr));
    return HandOver(&created, element);
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
    ComPtr<IXMLDOMElement> created;
    RETURN_IF_NOT_OK(CreateChildElement(parent, FrameworkNamespaceUri, W("Option"), created.Put()));
    if (nameLocalName)
        RETURN_IF_NOT_OK(CreateQNameAttribute(created.Get(), FrameworkNamespaceUri, W("name"),
                                              nameNamespaceUri, nameLocalName, nullptr));
    if (constrainedLocalName)
        RETURN_IF_NOT_OK(CreateQNameAttribute(created.Get(), FrameworkNamespaceUri,
                                              W("constrained"), constrainedNamespaceUri,
                                              constrainedLocalName, nullptr));
    return HandOver(&created, option);
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
    UniqueVariant number;
    V_VT(number.Get()) = VT_INT;
    V_INT(number.Get()) = value;
    RETURN_IF_NOT_OK(VariantChangeType(number.Get(), number.Get(), NoUserOverride, VT_BSTR));
    return CreateValue(parent, typeNamespaceUri, typeLocalName, V_BSTR(number.Get()), valueElement);
}

HRESULT PrintSchemaDomHelper::CreateValue(IXMLDOMElement* parent, const WCHAR* typeNamespaceUri,
                                          const WCHAR* typeLocalName, const WCHAR* text,
                                          IXMLDOMElement** valueElement) {
    if (!parent || !text)
        return E_INVALIDARG;
    if (!IsInitialized())
        return Uninitialized(valueElement);
    ComPtr<IXMLDOMElement> created;
    RETURN_IF_NOT_OK(CreateChildElement(parent, FrameworkNamespaceUri, W("Value"), created.Put()));
    if (typeNamespaceUri && typeLocalName) {
        UniqueBstr typeAttributeName;
        RETURN_IF_NOT_OK(MakeQName(XsiNamespaceUri, W("type"), typeAttributeName.Put()));
        RETURN_IF_NOT_OK(CreateQNameAttribute(created.Get(), XsiNamespaceUri,
                                              typeAttributeName.Get(), typeNamespaceUri,
                                              typeLocalName, nullptr));
    }
    UniqueBstr textCopy(SysAllocString(text));
    if (!textCopy.Get())
        return E_OUTOFMEMORY;
    RETURN_IF_NOT_OK(created->put_text(textCopy.Get()));
    return HandOver(&created, valueElement);
}

HRESULT PrintSchemaDomHelper::FindNamedElement(IXMLDOMElement* parent, const WCHAR* elementName,
                                               const WCHAR* nameNamespaceUri,
                                               const WCHAR* nameLocalName,
                                               IXMLDOMElement** element) {
    UniqueBstr wanted;
    ComPtr<IXMLDOMNodeList> list;
    RETURN_IF_NOT_OK(MakeQName(nameNamespaceUri, nameLocalName, wanted.Put()));
    RETURN_IF_NOT_OK(GetElementsByQName(parent, FrameworkNamespaceUri, elementName, list.Put()));
    return FindByAttributeValue(list.Get(), W("name"), wanted.Get(), element);
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
    UniqueBstr wanted;
    ComPtr<IXMLDOMNodeList> options;
    RETURN_IF_NOT_OK(MakeQName(nameNamespaceUri, nameLocalName, wanted.Put()));
    RETURN_IF_NOT_OK(GetElementsByQName(parent, FrameworkNamespaceUri, W("Option"), options.Put()));
    // First as the Print Schema rules search: by "name" until an option has
    // none, then from the start by "OptionName" until an option has none.
    HRESULT hr =
        SearchByAttributeValue(options.Get(), W("name"), wanted.Get(), AtNameless::Stop, option);
    if (hr == S_FALSE) {
        options->reset();
        hr = FindOptionByOptionName(options.Get(), wanted.Get(), AtNameless::Stop, option);
    }
    // Not found that way: both again, passing over the options that lack the
    // name, so that an option the rules find is always the answer.
    if (hr == S_FALSE) {
        options->reset();
        hr = FindByAttributeValue(options.Get(), W("name"), wanted.Get(), option);
    }
    if (hr == S_FALSE) {
        options->reset();
        hr = FindOptionByOptionName(options.Get(), wanted.Get(), AtNameless::PassOver, option);
    }
    return hr;
}

HRESULT PrintSchemaDomHelper::FindOptionByOptionName(IXMLDOMNodeList* options, const WCHAR* wanted,
                                                     AtNameless atNameless,
                                                     IXMLDOMElement** option) {
    auto hasOptionName = [&](IXMLDOMNode* node, NodeMatch* match) {
        ComPtr<IXMLDOMElement> candidate;
        ComPtr<IXMLDOMElement> optionName;
        ComPtr<IXMLDOMElement> value;
        RETURN_IF_NOT_OK(node->QueryInterface(IID_IXMLDOMElement, candidate.PutVoid()));
        HRESULT result = FindScoredProperty(candidate.Get(), FrameworkNamespaceUri, W("OptionName"),
                                            optionName.Put());
        if (result == S_OK)
            result = GetFirstValue(optionName.Get(), value.Put());
        // No "OptionName" scored property, or no value in it.
        if (result == S_FALSE) {
            *match = NodeMatch::LacksName;
            return S_OK;
        }
        RETURN_IF_NOT_OK(result);
        bool same = false;
        RETURN_IF_NOT_OK(TextIs(value.Get(), wanted, &same));
        *match = same ? NodeMatch::Yes : NodeMatch::No;
        return S_OK;
    };
    return FindElementInList(options, hasOptionName, atNameless, option);
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

} // namespace ptbridge
