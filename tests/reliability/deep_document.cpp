#include "deep_document.h"

#include "msxml_standin.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
const char16_t LevelName[] = u"psk:Level";
const char16_t FrameworkUri[] =
    u"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";

HRESULT CreateNode(IXMLDOMDocument2* document, LONG type, const char16_t* name,
                   const char16_t* namespaceUri, IXMLDOMNode** node) {
    UniqueVariant kind;
    kind.Get()->vt = VT_I4;
    kind.Get()->lVal = type;
    UniqueBstr nameText(SysAllocString(name));
    UniqueBstr uriText(SysAllocString(namespaceUri));
    return document->createNode(*kind.Get(), nameText.Get(), uriText.Get(), node);
}

HRESULT PutText(IXMLDOMAttribute* attribute, const char16_t* text) {
    UniqueVariant value;
    value.Get()->vt = VT_BSTR;
    value.Get()->bstrVal = SysAllocString(text);
    return attribute->put_value(*value.Get());
}

// Appends <psf:Feature name="psk:Level"/> to `parent` and gives it.
HRESULT AppendLevel(IXMLDOMDocument2* document, IXMLDOMNode* parent, ComPtr<IXMLDOMNode>* level) {
    ComPtr<IXMLDOMNode> feature;
    ComPtr<IXMLDOMNode> nameNode;
    ComPtr<IXMLDOMAttribute> name;
    ComPtr<IXMLDOMElement> element;
    RETURN_IF_NOT_OK(
        CreateNode(document, NODE_ELEMENT, u"psf:Feature", FrameworkUri, feature.Put()));
    RETURN_IF_NOT_OK(CreateNode(document, NODE_ATTRIBUTE, u"name", nullptr, nameNode.Put()));
    RETURN_IF_NOT_OK(nameNode.QueryTo(IID_IXMLDOMAttribute, name.Put()));
    RETURN_IF_NOT_OK(PutText(name.Get(), LevelName));
    RETURN_IF_NOT_OK(feature.QueryTo(IID_IXMLDOMElement, element.Put()));
    RETURN_IF_NOT_OK(element->setAttributeNode(name.Get(), nullptr));
    RETURN_IF_NOT_OK(parent->appendChild(feature.Get(), nullptr));
    *level = std::move(feature);
    return S_OK;
}

// The first psf:Feature whose "name" attribute reads `wanted`.
ComPtr<IXMLDOMNode> FindFeature(IXMLDOMDocument2* document, const std::u16string& wanted) {
    ComPtr<IXMLDOMNodeList> features;
    UniqueBstr tag(SysAllocString(u"psf:Feature"));
    UniqueBstr nameAttribute(SysAllocString(u"name"));
    if (document->getElementsByTagName(tag.Get(), features.Put()) != S_OK)
        return {};
    while (true) {
        ComPtr<IXMLDOMNode> feature;
        if (features->nextNode(feature.Put()) != S_OK)
            return {};
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        ComPtr<IXMLDOMNode> name;
        UniqueBstr text;
        if (feature->get_attributes(attributes.Put()) == S_OK &&
            attributes->getNamedItem(nameAttribute.Get(), name.Put()) == S_OK &&
            name->get_text(text.Put()) == S_OK && text.Get() == wanted)
            return feature;
    }
}
} // namespace

ComPtr<IXMLDOMDocument2> LoadWithDeepChain(const std::string& xml, int depth,
                                           const std::u16string& sunkFeature) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    if (LoadDocumentFromString(xml, document.Put(), &error) != S_OK) {
        ADD_FAILURE() << "cannot load the document: " << error.message;
        return {};
    }
    ComPtr<IXMLDOMNode> bottom = FindFeature(document.Get(), LevelName);
    if (!bottom) {
        ADD_FAILURE() << "the document has no psk:Level feature";
        return {};
    }
    for (int level = 1; level < depth; ++level) {
        ComPtr<IXMLDOMNode> next;
        if (AppendLevel(document.Get(), bottom.Get(), &next) != S_OK) {
            ADD_FAILURE() << "cannot build level " << level;
            return {};
        }
        bottom = std::move(next);
    }
    if (!sunkFeature.empty()) {
        ComPtr<IXMLDOMNode> feature = FindFeature(document.Get(), sunkFeature);
        if (!feature || bottom->appendChild(feature.Get(), nullptr) != S_OK) {
            ADD_FAILURE() << "cannot move the feature to the bottom of the chain";
            return {};
        }
    }
    return document;
}
