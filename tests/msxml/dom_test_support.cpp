#include "dom_test_support.h"

using namespace ptbridge;

const char* const FrameworkUri =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
const char* const KeywordsUri =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
const char* const XsiUri = "http://www.w3.org/2001/XMLSchema-instance";
const char* const XsdUri = "http://www.w3.org/2001/XMLSchema";

const char* const TicketXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework" xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:xsd="http://www.w3.org/2001/XMLSchema" version="1">
  <psf:Feature name="psk:JobOutputBin">
    <psf:Option name="psk:Center">
      <psf:ScoredProperty name="psk:BinType">
        <psf:Value xsi:type="xsd:QName">psk:Tray</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
    <psf:Option name="psk:Finisher"/>
    <psf:Feature name="psk:Nested"/>
  </psf:Feature>
  <psf:Feature name="psk:JobHolePunch" xmlns:pv="http://ptbridge.example/printing/2005/08/printticket">
    <psf:Option name="pv:Punch"/>
  </psf:Feature>
</psf:PrintTicket>
)";

const char* const DefaultNamespaceTicketXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<PrintTicket xmlns="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework" xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:xsd="http://www.w3.org/2001/XMLSchema" version="1">
  <Feature name="psk:JobOutputBin">
    <Option name="psk:Center"/>
  </Feature>
</PrintTicket>
)";

ComPtr<IXMLDOMElement> DomTest::Root(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(document->get_documentElement(root.Put()), S_OK);
    return root;
}

namespace {
// Walks the elements below `node` in document order, counting down `*index`
// over those written `tagName`; the one where it reaches zero is the answer.
ComPtr<IXMLDOMNode> FindBelow(IXMLDOMNode* node, const std::string& tagName, LONG* index) {
    ComPtr<IXMLDOMNodeList> children;
    EXPECT_EQ(node->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> child;
    while (children && children->nextNode(child.Put()) == S_OK) {
        DOMNodeType type = NODE_INVALID;
        EXPECT_EQ(child->get_nodeType(&type), S_OK);
        if (type != NODE_ELEMENT)
            continue;
        if (NodeName(child.Get()) == tagName && (*index)-- == 0)
            return child;
        if (auto found = FindBelow(child.Get(), tagName, index))
            return found;
    }
    return ComPtr<IXMLDOMNode>();
}
} // namespace

ComPtr<IXMLDOMElement> DomTest::Find(IXMLDOMNode* under, const std::string& tagName, LONG index) {
    LONG countdown = index;
    ComPtr<IXMLDOMNode> node =
        under ? FindBelow(under, tagName, &countdown) : ComPtr<IXMLDOMNode>();
    auto found = Query<IXMLDOMElement>(node.Get(), IID_IXMLDOMElement);
    EXPECT_TRUE(found) << "no " << tagName << " at index " << index;
    return found;
}

ComPtr<IXMLDOMNode> DomTest::Create(IXMLDOMDocument2* document, LONG kind, const std::string& name,
                                    const char* uri) {
    UniqueVariant type;
    type.Get()->vt = VT_I4;
    type.Get()->lVal = kind;
    UniqueBstr qualifiedName = MakeBstr(Wide(name));
    UniqueBstr namespaceUri = MakeBstr(uri ? Wide(uri) : std::u16string());
    ComPtr<IXMLDOMNode> node;
    EXPECT_EQ(document->createNode(*type.Get(), qualifiedName.Get(),
                                   uri ? namespaceUri.Get() : nullptr, node.Put()),
              S_OK);
    return node;
}

ComPtr<IXMLDOMAttribute> DomTest::CreateAttribute(IXMLDOMDocument2* document,
                                                  const std::string& name, const char* uri,
                                                  const std::string& value) {
    auto attribute = Query<IXMLDOMAttribute>(Create(document, NODE_ATTRIBUTE, name, uri).Get(),
                                             IID_IXMLDOMAttribute);
    UniqueVariant text;
    text.Get()->vt = VT_BSTR;
    text.Get()->bstrVal = SysAllocString(AsWchar(Wide(value).c_str()));
    EXPECT_EQ(attribute->put_value(*text.Get()), S_OK);
    return attribute;
}

std::string DomTest::Xml(IXMLDOMNode* node) {
    UniqueBstr xml;
    EXPECT_EQ(node->get_xml(xml.Put()), S_OK);
    return Utf8(xml.Get());
}

LONG DomTest::Length(IXMLDOMNodeList* list) {
    LONG length = -1;
    EXPECT_EQ(list->get_length(&length), S_OK);
    return length;
}
