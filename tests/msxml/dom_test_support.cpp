#include "dom_test_support.h"

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

Bstr::Bstr(const std::u16string& text)
    : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

std::string Bstr::Utf8() const {
    std::string out;
    for (char16_t unit : Wide()) {
        EXPECT_LT(unit, 0x80) << "Utf8() is meant for ASCII text";
        out += static_cast<char>(unit);
    }
    return out;
}

std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

void DomTest::SetUp() {
    PlatformInjectFault(0, 0, S_OK);
    objectsAtStart_ = LiveDomObjectCount();
    bstrsAtStart_ = PlatformLiveBstrCount();
}

void DomTest::TearDown() {
    PlatformInjectFault(0, 0, S_OK);
    EXPECT_EQ(LiveDomObjectCount(), objectsAtStart_) << "DOM objects leaked";
    EXPECT_EQ(PlatformLiveBstrCount(), bstrsAtStart_) << "BSTRs leaked";
}

Ref<IXMLDOMDocument2> DomTest::Load(const std::string& xml) {
    Ref<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString(xml, document.out(), &error), S_OK) << error.message;
    return document;
}

Ref<IXMLDOMElement> DomTest::Root(IXMLDOMDocument2* document) {
    Ref<IXMLDOMElement> root;
    EXPECT_EQ(document->get_documentElement(root.out()), S_OK);
    return root;
}

Ref<IXMLDOMElement> DomTest::Find(IXMLDOMNode* under, const std::string& tagName, LONG index) {
    Bstr name(Wide(tagName));
    Ref<IXMLDOMNodeList> list;
    if (auto element = Query<IXMLDOMElement>(under, IID_IXMLDOMElement)) {
        EXPECT_EQ(element->getElementsByTagName(name.get(), list.out()), S_OK);
    } else if (auto document = Query<IXMLDOMDocument2>(under, IID_IXMLDOMDocument2)) {
        EXPECT_EQ(document->getElementsByTagName(name.get(), list.out()), S_OK);
    }
    Ref<IXMLDOMNode> node;
    if (list)
        list->get_item(index, node.out());
    auto found = Query<IXMLDOMElement>(node.get(), IID_IXMLDOMElement);
    EXPECT_TRUE(found) << "no " << tagName << " at index " << index;
    return found;
}

Ref<IXMLDOMNode> DomTest::Create(IXMLDOMDocument2* document, LONG kind, const std::string& name,
                                 const char* uri) {
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = kind;
    Bstr qualifiedName(Wide(name));
    Bstr namespaceUri(uri ? Wide(uri) : std::u16string());
    Ref<IXMLDOMNode> node;
    EXPECT_EQ(document->createNode(type, qualifiedName.get(), uri ? namespaceUri.get() : nullptr,
                                   node.out()),
              S_OK);
    return node;
}

Ref<IXMLDOMAttribute> DomTest::CreateAttribute(IXMLDOMDocument2* document, const std::string& name,
                                               const char* uri, const std::string& value) {
    auto attribute = Query<IXMLDOMAttribute>(Create(document, NODE_ATTRIBUTE, name, uri).get(),
                                             IID_IXMLDOMAttribute);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(Wide(value).c_str());
    EXPECT_EQ(attribute->put_value(text), S_OK);
    VariantClear(&text);
    return attribute;
}

std::string DomTest::Save(IXMLDOMDocument2* document) {
    std::string xml;
    EXPECT_EQ(SaveDocumentToString(document, &xml), S_OK);
    return xml;
}

std::string DomTest::Xml(IXMLDOMNode* node) {
    Bstr xml;
    EXPECT_EQ(node->get_xml(xml.out()), S_OK);
    return xml.Utf8();
}

std::string DomTest::Name(IXMLDOMNode* node) {
    Bstr name;
    EXPECT_EQ(node->get_nodeName(name.out()), S_OK);
    return name.Utf8();
}

std::string DomTest::TextOf(IXMLDOMNode* node) {
    Bstr text;
    EXPECT_EQ(node->get_text(text.out()), S_OK);
    return text.Utf8();
}

LONG DomTest::Length(IXMLDOMNodeList* list) {
    LONG length = -1;
    EXPECT_EQ(list->get_length(&length), S_OK);
    return length;
}

std::string DomTest::Attribute(IXMLDOMNode* element, const std::string& name) {
    Ref<IXMLDOMNamedNodeMap> attributes;
    EXPECT_EQ(element->get_attributes(attributes.out()), S_OK);
    Bstr wanted(Wide(name));
    Ref<IXMLDOMNode> attribute;
    if (!attributes || attributes->getNamedItem(wanted.get(), attribute.out()) != S_OK)
        return "(absent)";
    return TextOf(attribute.get());
}
