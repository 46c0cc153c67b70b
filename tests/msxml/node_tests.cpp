// Node identity, interfaces, names, text and the xml of single nodes.
#include "dom_test_support.h"

#include <optional>

using namespace ptbridge;

namespace {
class NodeTest : public DomTest {};

// A node's names; the prefix, base name and namespace URI are absent
// (S_FALSE and no string) for a node that has none.
struct Names {
    std::string nodeName;
    std::optional<std::string> prefix;
    std::optional<std::string> baseName;
    std::optional<std::string> namespaceUri;
};

std::optional<std::string> OptionalName(IXMLDOMNode* node,
                                        HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*getter)(BSTR*)) {
    UniqueBstr text;
    HRESULT hr = (node->*getter)(text.Put());
    if (hr == S_FALSE) {
        EXPECT_FALSE(text.Get());
        return std::nullopt;
    }
    EXPECT_EQ(hr, S_OK);
    return Utf8(text.Get());
}

Names NamesOf(IXMLDOMNode* node) {
    UniqueBstr name;
    EXPECT_EQ(node->get_nodeName(name.Put()), S_OK);
    return {Utf8(name.Get()), OptionalName(node, &IXMLDOMNode::get_prefix),
            OptionalName(node, &IXMLDOMNode::get_baseName),
            OptionalName(node, &IXMLDOMNode::get_namespaceURI)};
}

void ExpectNames(IXMLDOMNode* node, const Names& expected) {
    Names actual = NamesOf(node);
    EXPECT_EQ(actual.nodeName, expected.nodeName);
    EXPECT_EQ(actual.prefix, expected.prefix);
    EXPECT_EQ(actual.baseName, expected.baseName);
    EXPECT_EQ(actual.namespaceUri, expected.namespaceUri);
}

DOMNodeType TypeOf(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    EXPECT_EQ(node->get_nodeType(&type), S_OK);
    return type;
}

TEST_F(NodeTest, SameNodeIsTheSameObjectWhicheverWayItIsReached) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto again = Root(document.Get());
    EXPECT_EQ(root.Get(), again.Get());

    auto viaDocument = Find(document.Get(), "psf:Option", 1);
    auto viaRoot = Find(root.Get(), "psf:Option", 1);
    EXPECT_EQ(viaDocument.Get(), viaRoot.Get());

    ComPtr<IXMLDOMDocument> owner;
    ASSERT_EQ(viaRoot->get_ownerDocument(owner.Put()), S_OK);
    EXPECT_EQ(Query<IUnknown>(owner.Get(), IID_IUnknown).Get(),
              Query<IUnknown>(document.Get(), IID_IUnknown).Get());
}

TEST_F(NodeTest, EachKindAnswersOnlyItsOwnInterfaces) {
    auto document = Load(TicketXml);
    auto value = Find(document.Get(), "psf:Value");
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(value->get_attributes(attributes.Put()), S_OK);
    ComPtr<IXMLDOMNode> type;
    ASSERT_EQ(attributes->get_item(0, type.Put()), S_OK);
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(value->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.Put()), S_OK);

    struct Case {
        IUnknown* object;
        bool element, attribute, document;
    } cases[] = {{value.Get(), true, false, false},
                 {type.Get(), false, true, false},
                 {text.Get(), false, false, false},
                 {document.Get(), false, false, true}};
    for (const Case& c : cases) {
        EXPECT_TRUE(Query<IUnknown>(c.object, IID_IUnknown));
        EXPECT_TRUE(Query<IXMLDOMNode>(c.object, IID_IXMLDOMNode));
        EXPECT_EQ(bool(Query<IXMLDOMElement>(c.object, IID_IXMLDOMElement)), c.element);
        EXPECT_EQ(bool(Query<IXMLDOMAttribute>(c.object, IID_IXMLDOMAttribute)), c.attribute);
        EXPECT_EQ(bool(Query<IXMLDOMDocument>(c.object, IID_IXMLDOMDocument)), c.document);
        EXPECT_EQ(bool(Query<IXMLDOMDocument2>(c.object, IID_IXMLDOMDocument2)), c.document);
        EXPECT_FALSE(Query<IXMLDOMNodeList>(c.object, IID_IXMLDOMNodeList));
    }
    void* refused = &refused;
    EXPECT_EQ(value->QueryInterface(IID_IXMLDOMAttribute, &refused), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(value->QueryInterface(IID_IXMLDOMNode, nullptr), E_POINTER);
}

TEST_F(NodeTest, NamesOfPrefixedElementsAndAttributes) {
    auto document = Load(TicketXml);
    auto value = Find(document.Get(), "psf:Value");
    ExpectNames(value.Get(), {"psf:Value", "psf", "Value", FrameworkUri});
    UniqueBstr tagName;
    ASSERT_EQ(value->get_tagName(tagName.Put()), S_OK);
    EXPECT_EQ(Utf8(tagName.Get()), "psf:Value");

    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(value->get_attributes(attributes.Put()), S_OK);
    ComPtr<IXMLDOMNode> type;
    ASSERT_EQ(attributes->get_item(0, type.Put()), S_OK);
    ExpectNames(type.Get(), {"xsi:type", "xsi", "type", XsiUri});
    auto attribute = Query<IXMLDOMAttribute>(type.Get(), IID_IXMLDOMAttribute);
    UniqueBstr attributeName;
    ASSERT_EQ(attribute->get_name(attributeName.Put()), S_OK);
    EXPECT_EQ(Utf8(attributeName.Get()), "xsi:type");

    auto option = Find(document.Get(), "psf:Option");
    ASSERT_EQ(option->get_attributes(attributes.Put()), S_OK);
    ComPtr<IXMLDOMNode> name;
    ASSERT_EQ(attributes->get_item(0, name.Put()), S_OK);
    ExpectNames(name.Get(), {"name", std::nullopt, "name", std::nullopt});
}

TEST_F(NodeTest, NamesInTheDefaultNamespaceAndOfOtherKinds) {
    auto document = Load(DefaultNamespaceTicketXml, true);
    auto feature = Find(document.Get(), "Feature");
    ExpectNames(feature.Get(), {"Feature", std::nullopt, "Feature", FrameworkUri});
    ExpectNames(document.Get(), {"#document", std::nullopt, std::nullopt, std::nullopt});

    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(feature->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> whitespace;
    ASSERT_EQ(children->get_item(0, whitespace.Put()), S_OK);
    ExpectNames(whitespace.Get(), {"#text", std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(TypeOf(whitespace.Get()), NODE_TEXT);
    EXPECT_EQ(TypeOf(feature.Get()), NODE_ELEMENT);
    EXPECT_EQ(TypeOf(document.Get()), NODE_DOCUMENT);
}

TEST_F(NodeTest, ParentsOfElementsAttributesAndTheDocument) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    auto feature = Find(root.Get(), "psf:Feature");
    ComPtr<IXMLDOMNode> parent;
    ASSERT_EQ(feature->get_parentNode(parent.Put()), S_OK);
    EXPECT_EQ(Query<IUnknown>(parent.Get(), IID_IUnknown).Get(),
              Query<IUnknown>(root.Get(), IID_IUnknown).Get());
    ASSERT_EQ(root->get_parentNode(parent.Put()), S_OK);
    EXPECT_EQ(TypeOf(parent.Get()), NODE_DOCUMENT);
    EXPECT_EQ(document->get_parentNode(parent.Put()), S_FALSE);
    EXPECT_FALSE(parent);

    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(feature->get_attributes(attributes.Put()), S_OK);
    ComPtr<IXMLDOMNode> name;
    ASSERT_EQ(attributes->get_item(0, name.Put()), S_OK);
    EXPECT_EQ(name->get_parentNode(parent.Put()), S_FALSE);
    EXPECT_FALSE(parent);
    ComPtr<IXMLDOMDocument> owner;
    EXPECT_EQ(document->get_ownerDocument(owner.Put()), S_FALSE);
    EXPECT_FALSE(owner);
}

TEST_F(NodeTest, TextOfElementsConcatenatesAndPutTextLeavesOneTextNode) {
    auto document = Load("<a>one<b>two</b><!--not text-->three</a>");
    auto root = Root(document.Get());
    EXPECT_EQ(NodeText(root.Get()), "onetwothree");
    UniqueBstr text = MakeBstr(u"only");
    ASSERT_EQ(root->put_text(text.Get()), S_OK);
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.Put()), S_OK);
    EXPECT_EQ(Length(children.Get()), 1);
    EXPECT_EQ(Xml(root.Get()), "<a>only</a>");
}

TEST_F(NodeTest, TextOfASoleChildAnEmptyElementAndTextLikeNodes) {
    auto document = Load("<a><b><![CDATA[x<y]]></b><c/><d>plain</d><!--note--></a>");
    EXPECT_EQ(NodeText(Find(document.Get(), "b").Get()), "x<y");
    EXPECT_EQ(NodeText(Find(document.Get(), "c").Get()), "");
    EXPECT_EQ(NodeText(Find(document.Get(), "d").Get()), "plain");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> comment;
    ASSERT_EQ(children->get_item(3, comment.Put()), S_OK);
    EXPECT_EQ(NodeText(comment.Get()), "note");
}

TEST_F(NodeTest, AttributeValuesAsTextAndVariants) {
    auto document = Load("<a n=\"1 &amp; 2\"/>");
    auto root = Root(document.Get());
    EXPECT_EQ(AttributeText(root.Get(), "n"), "1 & 2");
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.Put()), S_OK);
    ComPtr<IXMLDOMNode> node;
    ASSERT_EQ(attributes->get_item(0, node.Put()), S_OK);
    auto attribute = Query<IXMLDOMAttribute>(node.Get(), IID_IXMLDOMAttribute);

    UniqueVariant value;
    ASSERT_EQ(attribute->get_value(value.Put()), S_OK);
    EXPECT_EQ(value.Get()->vt, VT_BSTR);
    EXPECT_EQ(Utf16(value.Get()->bstrVal), u"1 & 2");

    VARIANT* number = value.Put();
    number->vt = VT_I4;
    number->lVal = 3;
    ASSERT_EQ(attribute->put_value(*number), S_OK);
    EXPECT_EQ(Xml(root.Get()), "<a n=\"3\"/>");

    VARIANT* flag = value.Put();
    flag->vt = VT_BOOL;
    flag->boolVal = VARIANT_TRUE;
    EXPECT_TRUE(FAILED(attribute->put_value(*flag)));
    EXPECT_EQ(AttributeText(root.Get(), "n"), "3");

    UniqueBstr text = MakeBstr(u"<q>");
    ASSERT_EQ(attribute->put_text(text.Get()), S_OK);
    EXPECT_EQ(Xml(node.Get()), "n=\"&lt;q&gt;\"");
}

TEST_F(NodeTest, XmlOfElementsTextAndTheDocument) {
    auto document =
        Load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a><b c=\"d\">x &lt; y</b></a>");
    auto b = Find(document.Get(), "b");
    EXPECT_EQ(Xml(b.Get()), "<b c=\"d\">x &lt; y</b>");
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(b->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.Put()), S_OK);
    EXPECT_EQ(Xml(text.Get()), "x &lt; y");
    EXPECT_EQ(Xml(document.Get()), "<?xml version=\"1.0\"?>\n<a><b c=\"d\">x &lt; y</b></a>\n");
}

TEST_F(NodeTest, ChildListsOfLeafNodesAreEmpty) {
    auto document = Load("<a>text</a>");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.Put()), S_OK);
    ASSERT_EQ(text->get_childNodes(children.Put()), S_OK);
    EXPECT_EQ(Length(children.Get()), 0);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    EXPECT_EQ(text->get_attributes(attributes.Put()), S_FALSE);
    EXPECT_FALSE(attributes);
}

TEST_F(NodeTest, NullOutPointersAreRefusedWithoutHarm) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    UniqueBstr name = MakeBstr(u"psf:Feature");
    EXPECT_EQ(root->get_nodeName(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_parentNode(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_childNodes(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_ownerDocument(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_text(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_xml(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_namespaceURI(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_prefix(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_baseName(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_tagName(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->getElementsByTagName(name.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(document->get_documentElement(nullptr), E_INVALIDARG);
    EXPECT_EQ(document->getElementsByTagName(name.Get(), nullptr), E_INVALIDARG);
    VARIANT type;
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    EXPECT_EQ(document->createNode(type, name.Get(), nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->appendChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->removeChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->setAttributeNode(nullptr, nullptr), E_INVALIDARG);
    ComPtr<IXMLDOMNodeList> list;
    EXPECT_EQ(root->getElementsByTagName(nullptr, list.Put()), E_INVALIDARG);
    ASSERT_EQ(root->getElementsByTagName(name.Get(), list.Put()), S_OK);
    EXPECT_EQ(list->get_item(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(list->get_length(nullptr), E_INVALIDARG);
    EXPECT_EQ(list->nextNode(nullptr), E_INVALIDARG);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.Put()), S_OK);
    EXPECT_EQ(attributes->getNamedItem(name.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(attributes->get_length(nullptr), E_INVALIDARG);
    ComPtr<IXMLDOMNode> item;
    EXPECT_EQ(attributes->getNamedItem(nullptr, item.Put()), E_INVALIDARG);
}

// Kept apart from the case above: these are the getters Wine's MSXML writes
// through a null out-pointer.
TEST_F(NodeTest, NullOutPointersOfTypeAttributesAndWhiteSpaceAreRefused) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    EXPECT_EQ(root->get_nodeType(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_attributes(nullptr), E_INVALIDARG);
    EXPECT_EQ(document->get_preserveWhiteSpace(nullptr), E_INVALIDARG);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.Put()), S_OK);
    EXPECT_EQ(attributes->get_item(0, nullptr), E_INVALIDARG);
}
} // namespace
