#include "deep_document.h"

#include "msxml_standin.h"

#include <gtest/gtest.h>

namespace {
const char16_t LevelName[] = u"psk:Level";
const char16_t FrameworkUri[] =
    u"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";

// A BSTR copy of a literal, freed at the end of the scope.
class ScopedBstr {
  public:
    explicit ScopedBstr(const char16_t* text) : text_(SysAllocString(text)) {}
    ~ScopedBstr() { SysFreeString(text_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR Get() const { return text_; }

  private:
    BSTR text_;
};

HRESULT CreateNode(IXMLDOMDocument2* document, LONG type, const char16_t* name,
                   const char16_t* namespaceUri, IXMLDOMNode** node) {
    VARIANT kind;
    VariantInit(&kind);
    kind.vt = VT_I4;
    kind.lVal = type;
    ScopedBstr nameText(name);
    ScopedBstr uriText(namespaceUri);
    return document->createNode(kind, nameText.Get(), namespaceUri ? uriText.Get() : nullptr, node);
}

// Appends <psf:Feature name="psk:Level"/> to `parent` and gives it.
HRESULT AppendLevel(IXMLDOMDocument2* document, IXMLDOMNode* parent, ComPtr<IXMLDOMNode>* level) {
    ComPtr<IXMLDOMNode> feature;
    ComPtr<IXMLDOMNode> nameNode;
    ComPtr<IXMLDOMAttribute> name;
    ComPtr<IXMLDOMElement> element;
    HRESULT hr =
        CreateNode(document, NODE_ELEMENT, u"psf:Feature", FrameworkUri, feature.Receive());
    if (hr == S_OK)
        hr = CreateNode(document, NODE_ATTRIBUTE, u"name", nullptr, nameNode.Receive());
    if (hr == S_OK)
        hr = nameNode->QueryInterface(IID_IXMLDOMAttribute, name.ReceiveVoid());
    if (hr == S_OK) {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(LevelName);
        hr = name->put_value(value);
        VariantClear(&value);
    }
    if (hr == S_OK)
        hr = feature->QueryInterface(IID_IXMLDOMElement, element.ReceiveVoid());
    if (hr == S_OK)
        hr = element->setAttributeNode(name.Get(), nullptr);
    if (hr == S_OK)
        hr = parent->appendChild(feature.Get(), nullptr);
    if (hr == S_OK)
        *level = std::move(feature);
    return hr;
}

// The first psf:Feature whose "name" attribute reads `wanted`.
ComPtr<IXMLDOMNode> FindFeature(IXMLDOMDocument2* document, const std::u16string& wanted) {
    ComPtr<IXMLDOMNodeList> features;
    ScopedBstr tag(u"psf:Feature");
    ScopedBstr nameAttribute(u"name");
    if (document->getElementsByTagName(tag.Get(), features.Receive()) != S_OK)
        return {};
    while (true) {
        ComPtr<IXMLDOMNode> feature;
        if (features->nextNode(feature.Receive()) != S_OK)
            return {};
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        ComPtr<IXMLDOMNode> name;
        BSTR text = nullptr;
        bool found = feature->get_attributes(attributes.Receive()) == S_OK &&
                     attributes->getNamedItem(nameAttribute.Get(), name.Receive()) == S_OK &&
                     name->get_text(&text) == S_OK && text == wanted;
        SysFreeString(text);
        if (found)
            return feature;
    }
}
} // namespace

ComPtr<IXMLDOMDocument2> LoadWithDeepChain(const std::string& xml, int depth,
                                           const std::u16string& sunkFeature) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    if (LoadDocumentFromString(xml, document.Receive(), &error) != S_OK) {
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
