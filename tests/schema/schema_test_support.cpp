#include "schema_test_support.h"

#include "msxml_standin.h"
#include "platform_testing.h"

using namespace ptbridge;

void SchemaTest::SetUp() {
    atStart_ = LiveObjectCounts();
}

void SchemaTest::TearDown() {
    PlatformInjectFault(0, 0, S_OK);
    delete document;
    if (dom != nullptr) {
        EXPECT_EQ(0u, dom->Release()) << "a wrapper kept a reference on the document";
    }
    atStart_.ExpectUnchanged("at the end of the test");
    EXPECT_EQ(1, host.References());
}

void SchemaTest::Load(const std::string& xml) {
    ASSERT_TRUE(ParseDocument(xml, &dom));
    document = new SchemaDocument(dom, &host);
    ASSERT_NE(nullptr, document->Element());
}

std::string SchemaTest::ParentTagOf(IXMLDOMElement* element) {
    ComPtr<IXMLDOMNode> parent;
    if (element->get_parentNode(parent.Put()) != S_OK || !parent)
        return "<detached>";
    return NodeName(parent.Get());
}

std::string SchemaTest::ParentNameOf(IXMLDOMElement* element) {
    ComPtr<IXMLDOMNode> parent;
    if (element->get_parentNode(parent.Put()) != S_OK || !parent)
        return "<detached>";
    ComPtr<IXMLDOMElement> parentElement;
    if (parent.QueryTo(IID_IXMLDOMElement, parentElement.Put()) != S_OK)
        return "<not an element>";
    return NameOf(parentElement.Get());
}

bool SchemaTest::SameNode(IXMLDOMNode* first, IXMLDOMNode* second) {
    ComPtr<IUnknown> firstIdentity;
    ComPtr<IUnknown> secondIdentity;
    first->QueryInterface(IID_IUnknown, firstIdentity.PutVoid());
    second->QueryInterface(IID_IUnknown, secondIdentity.PutVoid());
    return firstIdentity && firstIdentity.Get() == secondIdentity.Get();
}

ComPtr<IXMLDOMElement> SchemaTest::LastChild(IXMLDOMNode* element) {
    ComPtr<IXMLDOMNodeList> children;
    if (element->get_childNodes(children.Put()) != S_OK)
        return {};
    LONG length = 0;
    children->get_length(&length);
    for (LONG index = length - 1; index >= 0; --index) {
        ComPtr<IXMLDOMNode> child;
        DOMNodeType type = NODE_INVALID;
        ComPtr<IXMLDOMElement> last;
        if (children->get_item(index, child.Put()) == S_OK && child->get_nodeType(&type) == S_OK &&
            type == NODE_ELEMENT && child.QueryTo(IID_IXMLDOMElement, last.Put()) == S_OK)
            return last;
    }
    return {};
}

bool SchemaTest::IsLastChild(IXMLDOMNode* element, IXMLDOMNode* child) {
    ComPtr<IXMLDOMElement> last = LastChild(element);
    return last && SameNode(child, last.Get());
}

int SchemaTest::ChildCount(IXMLDOMNode* element, const std::string& tagName) {
    ComPtr<IXMLDOMNodeList> children;
    if (element->get_childNodes(children.Put()) != S_OK)
        return -1;
    int count = 0;
    LONG length = 0;
    children->get_length(&length);
    for (LONG index = 0; index < length; ++index) {
        ComPtr<IXMLDOMNode> child;
        DOMNodeType type = NODE_INVALID;
        if (children->get_item(index, child.Put()) == S_OK && child->get_nodeType(&type) == S_OK &&
            type == NODE_ELEMENT && NodeName(child.Get()) == tagName)
            ++count;
    }
    return count;
}

std::string SchemaTest::Saved() const {
    std::string xml;
    EXPECT_EQ(S_OK, SaveDocumentToString(dom, &xml));
    return xml;
}
