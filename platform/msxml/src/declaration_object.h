// The COM object of a namespace declaration (xmlns="..." or xmlns:p="..."),
// which MSXML lists among an element's attributes: nodeName "xmlns:p",
// prefix "xmlns" (empty for xmlns itself), baseName "p" (or "xmlns"),
// namespaceURI http://www.w3.org/2000/xmlns/, value the declared URI.
//
// libxml2 keeps declarations apart from the nodes (xmlNs), so the object
// stands for the declaration and the element holding it, if any. A
// declaration made by createNode takes its value freely until an element
// holds it (setAttributeNode); from then on the value cannot change (E_FAIL),
// as the names of the nodes in its scope depend on it.
#pragma once

#include "attribute_object.h"

namespace ptbridge::standin {

class DeclarationObject final : public AttributeObject {
  public:
    DeclarationObject(DocumentOwner* owner, xmlNsPtr declaration, xmlNodePtr element);

    xmlNsPtr Declaration() const { return declaration_; }
    // The element holding the declaration; null while none does.
    xmlNodePtr Element() const { return element_; }
    void HeldBy(xmlNodePtr element) { element_ = element; }

  private:
    ~DeclarationObject() override;

    DOMNodeType Type() const override { return NODE_ATTRIBUTE; }
    std::string Name() const override;
    const xmlChar* Prefix() const override;
    const xmlChar* BaseName() const override;
    const xmlChar* NamespaceUri() const override;
    HRESULT ReadText(std::string* text) const override;
    HRESULT WriteText(const std::string& text) override;
    HRESULT Markup(std::string* xml) const override;

    xmlNsPtr declaration_;
    xmlNodePtr element_;
};

} // namespace ptbridge::standin
