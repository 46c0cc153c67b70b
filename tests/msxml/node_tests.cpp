// Node identity, interfaces, names, text and the xml of single nodes.
#include "dom_test_support.h"

#include <thread>

namespace {
class NodeTest : public DomTest {};

struct Names {
    std::string nodeName, prefix, baseName, namespaceUri;
};

Names NamesOf(IXMLDOMNode* node) {
    Bstr name, prefix, baseName, uri;
    EXPECT_EQ(node->get_nodeName(name.out()), S_OK);
    EXPECT_EQ(node->get_prefix(prefix.out()), S_OK);
    EXPECT_EQ(node->get_baseName(baseName.out()), S_OK);
    EXPECT_EQ(node->get_namespaceURI(uri.out()), S_OK);
    return {name.Utf8(), prefix.Utf8(), baseName.Utf8(), uri.Utf8()};
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
    auto root = Root(document.get());
    auto again = Root(document.get());
    EXPECT_EQ(root.get(), again.get());

    auto viaDocument = Find(document.get(), "psf:Option", 1);
    auto viaRoot = Find(root.get(), "psf:Option", 1);
    EXPECT_EQ(viaDocument.get(), viaRoot.get());

    Ref<IXMLDOMDocument> owner;
    ASSERT_EQ(viaRoot->get_ownerDocument(owner.out()), S_OK);
    EXPECT_EQ(Query<IUnknown>(owner.get(), IID_IUnknown).get(),
              Query<IUnknown>(document.get(), IID_IUnknown).get());
}

TEST_F(NodeTest, LiveObjectCountFollowsReferences) {
    LONG before = LiveDomObjectCount();
    auto document = Load("<a><b/></a>");
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    auto root = Root(document.get());
    auto child = Find(root.get(), "b");
    EXPECT_EQ(LiveDomObjectCount(), before + 3);
    child.Reset();
    EXPECT_EQ(LiveDomObjectCount(), before + 2);

    // Objects made on one thread and released on another, also after the
    // thread that made them has ended, still count right.
    Ref<IXMLDOMElement> madeElsewhere;
    std::thread([&] { madeElsewhere = Find(root.get(), "b"); }).join();
    EXPECT_EQ(LiveDomObjectCount(), before + 3);
    std::thread([&] {
        root.Reset();
        document.Reset();
    }).join();
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    madeElsewhere.Reset();
    EXPECT_EQ(LiveDomObjectCount(), before);
}

TEST_F(NodeTest, EachKindAnswersOnlyItsOwnInterfaces) {
    auto document = Load(TicketXml);
    auto value = Find(document.get(), "psf:Value");
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(value->get_attributes(attributes.out()), S_OK);
    Ref<IXMLDOMNode> type;
    ASSERT_EQ(attributes->get_item(0, type.out()), S_OK);
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(value->get_childNodes(children.out()), S_OK);
    Ref<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.out()), S_OK);

    struct Case {
        IUnknown* object;
        bool element, attribute, document;
    } cases[] = {{value.get(), true, false, false},
                 {type.get(), false, true, false},
                 {text.get(), false, false, false},
                 {document.get(), false, false, true}};
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
    auto value = Find(document.get(), "psf:Value");
    ExpectNames(value.get(), {"psf:Value", "psf", "Value", FrameworkUri});
    Bstr tagName;
    ASSERT_EQ(value->get_tagName(tagName.out()), S_OK);
    EXPECT_EQ(tagName.Utf8(), "psf:Value");

    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(value->get_attributes(attributes.out()), S_OK);
    Ref<IXMLDOMNode> type;
    ASSERT_EQ(attributes->get_item(0, type.out()), S_OK);
    ExpectNames(type.get(), {"xsi:type", "xsi", "type", XsiUri});
    auto attribute = Query<IXMLDOMAttribute>(type.get(), IID_IXMLDOMAttribute);
    Bstr attributeName;
    ASSERT_EQ(attribute->get_name(attributeName.out()), S_OK);
    EXPECT_EQ(attributeName.Utf8(), "xsi:type");

    auto option = Find(document.get(), "psf:Option");
    ASSERT_EQ(option->get_attributes(attributes.out()), S_OK);
    Ref<IXMLDOMNode> name;
    ASSERT_EQ(attributes->get_item(0, name.out()), S_OK);
    ExpectNames(name.get(), {"name", "", "name", ""});
}

TEST_F(NodeTest, NamesInTheDefaultNamespaceAndOfOtherKinds) {
    auto document = Load(DefaultNamespaceTicketXml);
    auto feature = Find(document.get(), "Feature");
    ExpectNames(feature.get(), {"Feature", "", "Feature", FrameworkUri});
    ExpectNames(document.get(), {"#document", "", "", ""});

    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(feature->get_childNodes(children.out()), S_OK);
    Ref<IXMLDOMNode> whitespace;
    ASSERT_EQ(children->get_item(0, whitespace.out()), S_OK);
    ExpectNames(whitespace.get(), {"#text", "", "", ""});
    EXPECT_EQ(TypeOf(whitespace.get()), NODE_TEXT);
    EXPECT_EQ(TypeOf(feature.get()), NODE_ELEMENT);
    EXPECT_EQ(TypeOf(document.get()), NODE_DOCUMENT);
}

TEST_F(NodeTest, ParentsOfElementsAttributesAndTheDocument) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    auto feature = Find(root.get(), "psf:Feature");
    Ref<IXMLDOMNode> parent;
    ASSERT_EQ(feature->get_parentNode(parent.out()), S_OK);
    EXPECT_EQ(Query<IUnknown>(parent.get(), IID_IUnknown).get(),
              Query<IUnknown>(root.get(), IID_IUnknown).get());
    ASSERT_EQ(root->get_parentNode(parent.out()), S_OK);
    EXPECT_EQ(TypeOf(parent.get()), NODE_DOCUMENT);
    EXPECT_EQ(document->get_parentNode(parent.out()), S_FALSE);
    EXPECT_FALSE(parent);

    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(feature->get_attributes(attributes.out()), S_OK);
    Ref<IXMLDOMNode> name;
    ASSERT_EQ(attributes->get_item(0, name.out()), S_OK);
    EXPECT_EQ(name->get_parentNode(parent.out()), S_FALSE);
    EXPECT_FALSE(parent);
    Ref<IXMLDOMDocument> owner;
    EXPECT_EQ(document->get_ownerDocument(owner.out()), S_FALSE);
    EXPECT_FALSE(owner);
}

TEST_F(NodeTest, TextOfElementsConcatenatesAndPutTextLeavesOneTextNode) {
    auto document = Load("<a>one<b>two</b><!--not text-->three</a>");
    auto root = Root(document.get());
    EXPECT_EQ(TextOf(root.get()), "onetwothree");
    Bstr text(u"only");
    ASSERT_EQ(root->put_text(text.get()), S_OK);
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.out()), S_OK);
    EXPECT_EQ(Length(children.get()), 1);
    EXPECT_EQ(Xml(root.get()), "<a>only</a>");
}

TEST_F(NodeTest, TextOfASoleChildAnEmptyElementAndTextLikeNodes) {
    auto document = Load("<a><b><![CDATA[x<y]]></b><c/><d>plain</d><!--note--></a>");
    EXPECT_EQ(TextOf(Find(document.get(), "b").get()), "x<y");
    EXPECT_EQ(TextOf(Find(document.get(), "c").get()), "");
    EXPECT_EQ(TextOf(Find(document.get(), "d").get()), "plain");
    auto root = Root(document.get());
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.out()), S_OK);
    Ref<IXMLDOMNode> comment;
    ASSERT_EQ(children->get_item(3, comment.out()), S_OK);
    EXPECT_EQ(TextOf(comment.get()), "note");
}

TEST_F(NodeTest, AttributeValuesAsTextAndVariants) {
    auto document = Load("<a n=\"1 &amp; 2\"/>");
    auto root = Root(document.get());
    EXPECT_EQ(Attribute(root.get(), "n"), "1 & 2");
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.out()), S_OK);
    Ref<IXMLDOMNode> node;
    ASSERT_EQ(attributes->get_item(0, node.out()), S_OK);
    auto attribute = Query<IXMLDOMAttribute>(node.get(), IID_IXMLDOMAttribute);

    VARIANT value;
    ASSERT_EQ(attribute->get_value(&value), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(value.bstrVal), u"1 & 2");
    VariantClear(&value);

    value.vt = VT_I4;
    value.lVal = 3;
    ASSERT_EQ(attribute->put_value(value), S_OK);
    EXPECT_EQ(Xml(root.get()), "<a n=\"3\"/>");

    value.vt = VT_BOOL;
    value.boolVal = VARIANT_TRUE;
    EXPECT_TRUE(FAILED(attribute->put_value(value)));
    EXPECT_EQ(Attribute(root.get(), "n"), "3");

    Bstr text(u"<q>");
    ASSERT_EQ(attribute->put_text(text.get()), S_OK);
    EXPECT_EQ(Xml(node.get()), "n=\"&lt;q&gt;\"");
}

TEST_F(NodeTest, XmlOfElementsTextAndTheDocument) {
    auto document =
        Load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a><b c=\"d\">x &lt; y</b></a>");
    auto b = Find(document.get(), "b");
    EXPECT_EQ(Xml(b.get()), "<b c=\"d\">x &lt; y</b>");
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(b->get_childNodes(children.out()), S_OK);
    Ref<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.out()), S_OK);
    EXPECT_EQ(Xml(text.get()), "x &lt; y");
    EXPECT_EQ(Xml(document.get()), "<?xml version=\"1.0\"?>\n<a><b c=\"d\">x &lt; y</b></a>\n");
}

TEST_F(NodeTest, ChildListsOfLeafNodesAreEmpty) {
    auto document = Load("<a>text</a>");
    auto root = Root(document.get());
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.out()), S_OK);
    Ref<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.out()), S_OK);
    ASSERT_EQ(text->get_childNodes(children.out()), S_OK);
    EXPECT_EQ(Length(children.get()), 0);
    Ref<IXMLDOMNamedNodeMap> attributes;
    EXPECT_EQ(text->get_attributes(attributes.out()), S_FALSE);
    EXPECT_FALSE(attributes);
}

TEST_F(NodeTest, NullOutPointersAreRefusedWithoutHarm) {
    auto document = Load(TicketXml);
    auto root = Root(document.get());
    Bstr name(u"psf:Feature");
    EXPECT_EQ(root->get_nodeName(nullptr), E_POINTER);
    EXPECT_EQ(root->get_nodeType(nullptr), E_POINTER);
    EXPECT_EQ(root->get_parentNode(nullptr), E_POINTER);
    EXPECT_EQ(root->get_childNodes(nullptr), E_POINTER);
    EXPECT_EQ(root->get_attributes(nullptr), E_POINTER);
    EXPECT_EQ(root->get_ownerDocument(nullptr), E_POINTER);
    EXPECT_EQ(root->get_text(nullptr), E_POINTER);
    EXPECT_EQ(root->get_xml(nullptr), E_POINTER);
    EXPECT_EQ(root->get_namespaceURI(nullptr), E_POINTER);
    EXPECT_EQ(root->get_prefix(nullptr), E_POINTER);
    EXPECT_EQ(root->get_baseName(nullptr), E_POINTER);
    EXPECT_EQ(root->get_tagName(nullptr), E_POINTER);
    EXPECT_EQ(root->getElementsByTagName(name.get(), nullptr), E_POINTER);
    EXPECT_EQ(document->get_documentElement(nullptr), E_POINTER);
    EXPECT_EQ(document->getElementsByTagName(name.get(), nullptr), E_POINTER);
    VARIANT type;
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    EXPECT_EQ(document->createNode(type, name.get(), nullptr, nullptr), E_POINTER);
    EXPECT_EQ(root->appendChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->removeChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->setAttributeNode(nullptr, nullptr), E_INVALIDARG);
    Ref<IXMLDOMNodeList> list;
    EXPECT_EQ(root->getElementsByTagName(nullptr, list.out()), E_INVALIDARG);
    ASSERT_EQ(root->getElementsByTagName(name.get(), list.out()), S_OK);
    EXPECT_EQ(list->get_item(0, nullptr), E_POINTER);
    EXPECT_EQ(list->get_length(nullptr), E_POINTER);
    EXPECT_EQ(list->nextNode(nullptr), E_POINTER);
    Ref<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.out()), S_OK);
    EXPECT_EQ(attributes->getNamedItem(name.get(), nullptr), E_POINTER);
    EXPECT_EQ(attributes->get_item(0, nullptr), E_POINTER);
    EXPECT_EQ(attributes->get_length(nullptr), E_POINTER);
    Ref<IXMLDOMNode> item;
    EXPECT_EQ(attributes->getNamedItem(nullptr, item.out()), E_INVALIDARG);
}
} // namespace
