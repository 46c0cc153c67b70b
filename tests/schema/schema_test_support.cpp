#include "schema_test_support.h"

#include "common/namespaces.h"
#include "msxml_standin.h"
#include "platform_testing.h"

namespace {

std::string TextOf(BSTR text) {
    std::string result;
    for (const WCHAR* c = text; c != nullptr && *c != 0; ++c) {
        result += static_cast<char>(*c);
    }
    return result;
}

std::string NodeName(IXMLDOMNode* node) {
    BSTR name = nullptr;
    if (node->get_nodeName(&name) != S_OK)
        return "<error>";
    std::string result = TextOf(name);
    SysFreeString(name);
    return result;
}

} // namespace

std::string Utf8(const WCHAR* text) {
    if (text == nullptr)
        return "<null>";
    std::string result;
    for (; *text != 0; ++text) {
        result += static_cast<char>(*text);
    }
    return result;
}

std::string Ticket(const std::string& body) {
    return "<psf:PrintTicket xmlns:psf=\"" + Utf8(FrameworkNamespaceUri) + "\" xmlns:psk=\"" +
           Utf8(KeywordsNamespaceUri) + "\" xmlns:xsi=\"" + Utf8(XsiNamespaceUri) +
           "\" xmlns:xsd=\"" + Utf8(XsdNamespaceUri) + "\" xmlns:ns0000=\"" +
           Utf8(PrivateNamespaceUri) + "\" version=\"1\">" + body + "</psf:PrintTicket>";
}

void SchemaTest::SetUp() {
    liveDomObjects_ = LiveDomObjectCount();
    liveBstrs_ = PlatformLiveBstrCount();
}

void SchemaTest::TearDown() {
    PlatformInjectFault(0, 0, S_OK);
    delete document;
    if (dom != nullptr) {
        EXPECT_EQ(0u, dom->Release()) << "a wrapper kept a reference on the document";
    }
    EXPECT_EQ(liveDomObjects_, LiveDomObjectCount()) << "DOM objects leaked";
    EXPECT_EQ(liveBstrs_, PlatformLiveBstrCount()) << "strings leaked";
    EXPECT_EQ(1, host.References());
}

void SchemaTest::Load(const std::string& xml) {
    XmlLoadError error;
    ASSERT_EQ(S_OK, LoadDocumentFromString(xml, &dom, &error))
        << error.message << " at " << error.line << ":" << error.column;
    document = new SchemaDocument(dom, &host);
    ASSERT_NE(nullptr, document->Element());
}

std::string SchemaTest::AttributeOf(IXMLDOMElement* element, const std::string& attribute) {
    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (element->get_attributes(&attributes) != S_OK)
        return "<error>";
    std::u16string wide(attribute.begin(), attribute.end());
    BSTR attributeName = SysAllocString(reinterpret_cast<const WCHAR*>(wide.c_str()));
    IXMLDOMNode* name = nullptr;
    std::string result = "<none>";
    if (attributes->getNamedItem(attributeName, &name) == S_OK) {
        BSTR text = nullptr;
        if (name->get_text(&text) == S_OK)
            result = TextOf(text);
        SysFreeString(text);
        name->Release();
    }
    SysFreeString(attributeName);
    attributes->Release();
    return result;
}

std::string SchemaTest::ParentTagOf(IXMLDOMElement* element) {
    IXMLDOMNode* parent = nullptr;
    if (element->get_parentNode(&parent) != S_OK || parent == nullptr)
        return "<detached>";
    std::string result = NodeName(parent);
    parent->Release();
    return result;
}

std::string SchemaTest::ParentNameOf(IXMLDOMElement* element) {
    IXMLDOMNode* parent = nullptr;
    if (element->get_parentNode(&parent) != S_OK || parent == nullptr)
        return "<detached>";
    IXMLDOMElement* parentElement = nullptr;
    std::string result = "<not an element>";
    if (parent->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&parentElement)) ==
        S_OK) {
        result = NameOf(parentElement);
        parentElement->Release();
    }
    parent->Release();
    return result;
}

bool SchemaTest::SameNode(IXMLDOMNode* first, IXMLDOMNode* second) {
    IUnknown* firstIdentity = nullptr;
    IUnknown* secondIdentity = nullptr;
    first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&firstIdentity));
    second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&secondIdentity));
    const bool same = firstIdentity != nullptr && firstIdentity == secondIdentity;
    if (firstIdentity)
        firstIdentity->Release();
    if (secondIdentity)
        secondIdentity->Release();
    return same;
}

IXMLDOMNode* SchemaTest::LastChild(IXMLDOMNode* element) {
    IXMLDOMNodeList* children = nullptr;
    if (element->get_childNodes(&children) != S_OK)
        return nullptr;
    IXMLDOMNode* last = nullptr;
    LONG length = 0;
    children->get_length(&length);
    for (LONG index = length - 1; index >= 0 && last == nullptr; --index) {
        IXMLDOMNode* child = nullptr;
        DOMNodeType type = NODE_INVALID;
        if (children->get_item(index, &child) != S_OK)
            continue;
        if (child->get_nodeType(&type) == S_OK && type == NODE_ELEMENT)
            last = child;
        else
            child->Release();
    }
    children->Release();
    return last;
}

int SchemaTest::ChildCount(IXMLDOMNode* element, const std::string& tagName) {
    IXMLDOMNodeList* children = nullptr;
    if (element->get_childNodes(&children) != S_OK)
        return -1;
    int count = 0;
    LONG length = 0;
    children->get_length(&length);
    for (LONG index = 0; index < length; ++index) {
        IXMLDOMNode* child = nullptr;
        if (children->get_item(index, &child) != S_OK)
            continue;
        DOMNodeType type = NODE_INVALID;
        if (child->get_nodeType(&type) == S_OK && type == NODE_ELEMENT &&
            NodeName(child) == tagName)
            ++count;
        child->Release();
    }
    children->Release();
    return count;
}

std::string SchemaTest::Saved() const {
    std::string xml;
    EXPECT_EQ(S_OK, SaveDocumentToString(dom, &xml));
    return xml;
}
