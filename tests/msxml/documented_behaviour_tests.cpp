// What MSXML 6's documentation says its DOM does, where the plug-in's results
// depend on it: white space dropped at load unless preserveWhiteSpace is set,
// the text property's trimming, and namespace declarations listed among an
// element's attributes. Only COM interfaces are used (and the fixture's Load),
// so these cases hold for any MSXML 6.
#include "dom_test_support.h"

#include <algorithm>
#include <vector>

using namespace ptbridge;

namespace {
const char* const XmlnsUri = "http://www.w3.org/2000/xmlns/";

// The document of MSXML's white-space table: text with white space at its
// ends, an empty element, xml:space="preserve", a comment inside text, and
// white space only between the last element and the end tag.
const char* const WhiteSpaceXml = "<r xmlns:p=\"urn:p\"><v>\n   p:Stacker\n  </v><e></e>"
                                  "<w>  a   b  </w><s xml:space=\"preserve\">  k  </s>"
                                  "<m>  x <!--c--> y  </m>\n</r>";

class DocumentedBehaviourTest : public DomTest {
  protected:
    // A document whose content loadXML replaced after preserveWhiteSpace was set.
    ComPtr<IXMLDOMDocument2> Reloaded(const std::string& xml, bool preserveWhiteSpace) {
        auto document = Load("<empty/>");
        EXPECT_EQ(
            document->put_preserveWhiteSpace(preserveWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE),
            S_OK);
        UniqueBstr text = MakeBstr(Wide(xml));
        VARIANT_BOOL loaded = VARIANT_FALSE;
        EXPECT_EQ(document->loadXML(text.Get(), &loaded), S_OK);
        EXPECT_EQ(loaded, VARIANT_TRUE);
        return document;
    }

    LONG ChildCount(IXMLDOMNode* node) {
        ComPtr<IXMLDOMNodeList> children;
        EXPECT_EQ(node->get_childNodes(children.Put()), S_OK);
        return Length(children.Get());
    }

    LONG AttributeCount(IXMLDOMNode* node) {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        EXPECT_EQ(node->get_attributes(attributes.Put()), S_OK);
        LONG length = -1;
        EXPECT_EQ(attributes->get_length(&length), S_OK);
        return length;
    }

    // The text property, checked to come with S_OK.
    std::string TextOf(IXMLDOMNode* node) {
        UniqueBstr text;
        EXPECT_EQ(node->get_text(text.Put()), S_OK);
        return Utf8(text.Get());
    }

    ComPtr<IXMLDOMNode> NamedAttribute(IXMLDOMNode* element, const std::string& name) {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        EXPECT_EQ(element->get_attributes(attributes.Put()), S_OK);
        UniqueBstr wanted = MakeBstr(Wide(name));
        ComPtr<IXMLDOMNode> item;
        EXPECT_EQ(attributes->getNamedItem(wanted.Get(), item.Put()), S_OK) << name;
        return item;
    }
};

TEST_F(DocumentedBehaviourTest, WhiteSpaceTableWithAndWithoutPreserveWhiteSpace) {
    struct TextCase {
        const char* element;
        const char* dropped;   // preserveWhiteSpace false, the default
        const char* preserved; // preserveWhiteSpace true
    };
    const TextCase texts[] = {
        {"v", "p:Stacker", "\n   p:Stacker\n  "}, // ends trimmed
        {"w", "a   b", "  a   b  "},              // inside kept
        {"s", "  k  ", "  k  "},                  // xml:space="preserve"
        {"m", "x  y", "  x  y  "},                // comment left out, then ends trimmed
        {"e", "", ""},                            // empty element: S_OK, empty
    };
    for (bool preserve : {false, true}) {
        SCOPED_TRACE(preserve ? "preserveWhiteSpace true" : "preserveWhiteSpace false");
        auto document = Reloaded(WhiteSpaceXml, preserve);
        auto root = Root(document.Get());
        EXPECT_EQ(ChildCount(root.Get()), preserve ? 6 : 5);
        EXPECT_EQ(AttributeCount(root.Get()), 1) << "the xmlns:p declaration";
        for (const TextCase& c : texts) {
            SCOPED_TRACE(c.element);
            EXPECT_EQ(TextOf(Find(root.Get(), c.element).Get()),
                      preserve ? c.preserved : c.dropped);
        }
    }
}

TEST_F(DocumentedBehaviourTest, CharacterReferencesAreTrimmedAndCDataIsNot) {
    const struct {
        const char* xml;
        const char* text;
    } cases[] = {
        {"<v>&#9;pv:Tray&#13;&#10;</v>", "pv:Tray"},
        {"<c><![CDATA[  z  ]]></c>", "  z  "},
        {"<c><![CDATA[   ]]></c>", "   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        auto document = Load(c.xml);
        EXPECT_EQ(TextOf(Root(document.Get()).Get()), c.text);
    }
}

TEST_F(DocumentedBehaviourTest, CDataOfWhiteSpaceOnlyIsNeverDropped) {
    auto document = Load("<a>  <![CDATA[ ]]>  <b/>  </a>");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.Put()), S_OK);
    ASSERT_EQ(Length(children.Get()), 2);
    ComPtr<IXMLDOMNode> section;
    ASSERT_EQ(children->get_item(0, section.Put()), S_OK);
    DOMNodeType type = NODE_INVALID;
    ASSERT_EQ(section->get_nodeType(&type), S_OK);
    EXPECT_EQ(type, NODE_CDATA_SECTION);
}

TEST_F(DocumentedBehaviourTest, PreserveWhiteSpaceStartsFalseAndActsAtTheNextLoad) {
    auto document = Load(WhiteSpaceXml);
    VARIANT_BOOL preserving = VARIANT_TRUE;
    ASSERT_EQ(document->get_preserveWhiteSpace(&preserving), S_OK);
    EXPECT_EQ(preserving, VARIANT_FALSE);

    ASSERT_EQ(document->put_preserveWhiteSpace(VARIANT_TRUE), S_OK);
    ASSERT_EQ(document->get_preserveWhiteSpace(&preserving), S_OK);
    EXPECT_EQ(preserving, VARIANT_TRUE);
    EXPECT_EQ(ChildCount(Root(document.Get()).Get()), 5) << "what was dropped stays dropped";

    UniqueBstr text = MakeBstr(Wide(WhiteSpaceXml));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(document->loadXML(text.Get(), &loaded), S_OK);
    EXPECT_EQ(ChildCount(Root(document.Get()).Get()), 6);
}

TEST_F(DocumentedBehaviourTest, NamespaceDeclarationsAreListedAsAttributes) {
    auto document = Load("<r xmlns:p=\"urn:p\" xmlns=\"urn:d\" a=\"1\"><p:c/></r>");
    auto root = Root(document.Get());
    EXPECT_EQ(AttributeCount(root.Get()), 3);

    struct Declaration {
        const char* name;
        const char* prefix; // null: none, which get_prefix answers with S_FALSE
        const char* baseName;
        const char* value;
    };
    for (const Declaration& d : {Declaration{"xmlns:p", "xmlns", "p", "urn:p"},
                                 Declaration{"xmlns", nullptr, "xmlns", "urn:d"}}) {
        SCOPED_TRACE(d.name);
        auto declaration = NamedAttribute(root.Get(), d.name);
        ASSERT_TRUE(declaration);
        DOMNodeType type = NODE_INVALID;
        ASSERT_EQ(declaration->get_nodeType(&type), S_OK);
        EXPECT_EQ(type, NODE_ATTRIBUTE);
        EXPECT_EQ(NodeName(declaration.Get()), d.name);
        UniqueBstr prefix, baseName, uri;
        EXPECT_EQ(declaration->get_prefix(prefix.Put()), d.prefix ? S_OK : S_FALSE);
        ASSERT_EQ(declaration->get_baseName(baseName.Put()), S_OK);
        ASSERT_EQ(declaration->get_namespaceURI(uri.Put()), S_OK);
        EXPECT_EQ(prefix.Get() ? Utf8(prefix.Get()) : "(none)", d.prefix ? d.prefix : "(none)");
        EXPECT_EQ(Utf8(baseName.Get()), d.baseName);
        EXPECT_EQ(Utf8(uri.Get()), XmlnsUri);
        EXPECT_EQ(TextOf(declaration.Get()), d.value);
        auto attribute = Query<IXMLDOMAttribute>(declaration.Get(), IID_IXMLDOMAttribute);
        ASSERT_TRUE(attribute);
        UniqueVariant value;
        ASSERT_EQ(attribute->get_value(value.Put()), S_OK);
        EXPECT_EQ(Utf8(value.Get()->bstrVal), d.value);
    }
    EXPECT_EQ(AttributeText(root.Get(), "a"), "1");
    EXPECT_EQ(AttributeCount(Find(root.Get(), "p:c").Get()), 0);
}

TEST_F(DocumentedBehaviourTest, EveryAttributeIndexHoldsOneItemAndDeclarationsStayTheSameObject) {
    auto document = Load("<r xmlns:p=\"urn:p\" a=\"1\" p:b=\"2\"/>");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ASSERT_EQ(root->get_attributes(attributes.Put()), S_OK);
    std::vector<std::string> names;
    for (LONG i = 0; i < 3; ++i) {
        ComPtr<IXMLDOMNode> item;
        ASSERT_EQ(attributes->get_item(i, item.Put()), S_OK);
        names.push_back(NodeName(item.Get()));
        ComPtr<IXMLDOMNode> again;
        ASSERT_EQ(attributes->get_item(i, again.Put()), S_OK);
        EXPECT_EQ(item.Get(), again.Get()) << names.back();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "p:b", "xmlns:p"}));
    ComPtr<IXMLDOMNode> past;
    EXPECT_EQ(attributes->get_item(3, past.Put()), S_FALSE);
}
} // namespace
