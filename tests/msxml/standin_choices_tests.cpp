// What the stand-in DOM chose where MSXML's documentation is silent, and what
// only the stand-in can show: text joined from text and CDATA, namespace
// declarations made with createNode, how long nodes outside the document
// live, running out of memory while loading, and the linear cost of what
// hostile documents make large.
#include "dom_reading.h"
#include "dom_test_support.h"
#include "xml_allocation_hook.h"

#include <libxml/xmlerror.h>

#include <chrono>
#include <string>

using namespace ptbridge;

namespace {
class StandInChoiceTest : public DomTest {
  public:
    // For the sequences of the lifetime test, which run outside the test body.
    using DomTest::Create;
    using DomTest::Find;
    using DomTest::Load;
    using DomTest::Root;

    // The b element of <a><b/></a>, held while loadXML of `xml` replaces the
    // document's content (or fails to).
    ComPtr<IXMLDOMNode> HeldAcrossLoadXml(const char16_t* xml) {
        auto document = Load("<a><b/></a>");
        auto b = Find(document.Get(), "b");
        UniqueBstr text = MakeBstr(xml);
        VARIANT_BOOL loaded;
        document->loadXML(text.Get(), &loaded);
        return Query<IXMLDOMNode>(b.Get(), IID_IXMLDOMNode);
    }

  protected:
    std::string TextOf(IXMLDOMNode* node) {
        UniqueBstr text;
        EXPECT_EQ(node->get_text(text.Put()), S_OK);
        return Utf8(text.Get());
    }

    ComPtr<IXMLDOMAttribute> Declaration(IXMLDOMDocument2* document, const std::string& name,
                                         const std::string& uri) {
        return CreateAttribute(document, name, nullptr, uri);
    }
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// With white space kept, saving writes exactly the text that was loaded; the
// parser reads large texts in pieces of a quarter megabyte, and text and
// markup cut at a piece's edge must come out whole.
TEST_F(StandInChoiceTest, EveryKindOfContentSavesAsItWasLoadedAcrossParsePieces) {
    std::string body;
    for (int i = 0; body.size() < 600 * 1024; ++i)
        body += "  <p:item n=\"" + std::to_string(i) +
                "\" note=\"a &amp; b &lt; &quot;c&quot;&#10;\">x &amp; y &lt; z \xC3\xA9 " +
                std::string(i % 97, 'w') + "</p:item>\n";
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<?first pi?>\n<!--before-->\n"
                       "<root xmlns=\"urn:default\" xmlns:p=\"urn:p\">\n" +
                       body +
                       "  <![CDATA[<raw> & ]]><empty/><p:empty xml:lang=\"en\"/><?inside?>"
                       "<!-- note -->\n</root>\n<!--after-->\n";
    auto document = Load(text, true);
    EXPECT_EQ(Save(document.Get()), text);
}

TEST_F(StandInChoiceTest, TrimmingStopsAtCDataAndAtPreservedText) {
    const struct {
        const char* xml;
        const char* text;
    } cases[] = {
        {"<m> a <![CDATA[ b ]]> c </m>", "a  b  c"},
        {"<m><![CDATA[ b ]]> c </m>", " b  c"},
        {"<m> y <s xml:space=\"preserve\"> k </s> x </m>", "y  k  x"},
        {"<m><s xml:space=\"preserve\"> k </s> x </m>", " k  x"},
        {"<m xml:space=\"preserve\"> a <s xml:space=\"default\"> k </s></m>", " a  k"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        auto document = Load(c.xml);
        EXPECT_EQ(TextOf(Root(document.Get()).Get()), c.text);
    }
}

TEST_F(StandInChoiceTest, TextNodesGiveTheirRawTextAndTheSwitchIsReadAtEachCall) {
    auto document = Load("<a>  x  </a>");
    auto root = Root(document.Get());
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(root->get_childNodes(children.Put()), S_OK);
    ComPtr<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.Put()), S_OK);
    EXPECT_EQ(TextOf(text.Get()), "  x  ");
    EXPECT_EQ(TextOf(root.Get()), "x");
    ASSERT_EQ(document->put_preserveWhiteSpace(VARIANT_TRUE), S_OK);
    EXPECT_EQ(TextOf(root.Get()), "  x  ");
}

TEST_F(StandInChoiceTest, CreatedDeclarationJoinsAnElementAndIsUsedThere) {
    auto document = Load("<r/>");
    auto root = Root(document.Get());
    auto declaration = Declaration(document.Get(), "xmlns:q", "urn:q");
    EXPECT_EQ(NodeText(declaration.Get()), "urn:q");
    ASSERT_EQ(root->setAttributeNode(declaration.Get(), nullptr), S_OK);
    EXPECT_EQ(root->setAttributeNode(declaration.Get(), nullptr), S_OK) << "already there";
    EXPECT_EQ(AttributeText(root.Get(), "xmlns:q"), "urn:q");

    auto child = Create(document.Get(), NODE_ELEMENT, "q:c", "urn:q");
    ASSERT_EQ(root->appendChild(child.Get(), nullptr), S_OK);
    EXPECT_EQ(Save(document.Get()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r xmlns:q=\"urn:q\"><q:c/></r>\n");

    UniqueVariant other;
    other.Get()->vt = VT_BSTR;
    other.Get()->bstrVal = SysAllocString(u"urn:other");
    EXPECT_EQ(declaration->put_value(*other.Get()), E_FAIL) << "names in its scope depend on it";
    EXPECT_EQ(NodeText(declaration.Get()), "urn:q");
}

TEST_F(StandInChoiceTest, DeclarationsThatWouldRenameNodesAreRefused) {
    auto document = Load("<p:r xmlns:p=\"urn:p\"><c/></p:r>");
    auto root = Root(document.Get());
    auto child = Find(root.Get(), "c");
    const struct {
        const char* case_;
        IXMLDOMElement* element;
        const char* name;
        const char* uri;
    } refused[] = {
        {"the element declares the prefix already", root.Get(), "xmlns:p", "urn:p"},
        {"the element's own name has the prefix", root.Get(), "xmlns:p", "urn:other"},
        {"a default namespace for an element in none", child.Get(), "xmlns", "urn:d"},
        {"a prefix bound to no namespace", child.Get(), "xmlns:e", ""},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.case_);
        auto declaration = Declaration(document.Get(), r.name, r.uri);
        EXPECT_EQ(r.element->setAttributeNode(declaration.Get(), nullptr), E_INVALIDARG);
    }
    EXPECT_EQ(Save(document.Get()), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<p:r xmlns:p=\"urn:p\"><c/></p:r>\n");
}

TEST_F(StandInChoiceTest, ShadowingDeclarationKeepsTheNamesBelowIt) {
    auto document = Load("<p:r xmlns:p=\"urn:p\"><c><p:d/></c></p:r>");
    auto child = Find(document.Get(), "c");
    auto declaration = Declaration(document.Get(), "xmlns:p", "urn:other");
    ASSERT_EQ(child->setAttributeNode(declaration.Get(), nullptr), S_OK);
    UniqueBstr uri;
    ASSERT_EQ(Find(document.Get(), "p:d")->get_namespaceURI(uri.Put()), S_OK);
    EXPECT_EQ(Utf8(uri.Get()), "urn:p");
    EXPECT_EQ(Save(document.Get()), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<p:r xmlns:p=\"urn:p\"><c xmlns:p=\"urn:other\">"
                                    "<p:d xmlns:p=\"urn:p\"/></c></p:r>\n");
}

// Each sequence leaves one node held after everything else, the document
// included, was released; the node must still answer, and releasing it last
// must free everything (the fixture checks the counts; the sanitizer build,
// that nothing is freed twice or used after it was freed).
TEST_F(StandInChoiceTest, NodesOutsideTheDocumentLiveAsLongAsTheirHolders) {
    using Sequence = ComPtr<IXMLDOMNode> (*)(StandInChoiceTest&);
    const struct {
        const char* name;
        Sequence run;
        const char* heldName;
    } sequences[] = {
        {"created and never attached",
         [](StandInChoiceTest& t) {
             auto document = t.Load("<a/>");
             return t.Create(document.Get(), NODE_ELEMENT, "p:x", "urn:p");
         },
         "p:x"},
        {"inside a removed subtree",
         [](StandInChoiceTest& t) {
             auto document = t.Load("<a><b><c><d/></c></b></a>");
             auto d = t.Find(document.Get(), "d");
             auto b = t.Find(document.Get(), "b");
             t.Root(document.Get())->removeChild(b.Get(), nullptr);
             return Query<IXMLDOMNode>(d.Get(), IID_IXMLDOMNode);
         },
         "d"},
        {"moved into a detached subtree whose root is released",
         [](StandInChoiceTest& t) {
             auto document = t.Load("<a><b/><c/></a>");
             auto holder = t.Create(document.Get(), NODE_ELEMENT, "h", nullptr);
             auto c = t.Find(document.Get(), "c");
             holder->appendChild(c.Get(), nullptr);
             return Query<IXMLDOMNode>(c.Get(), IID_IXMLDOMNode);
         },
         "c"},
        {"replaced by put_text",
         [](StandInChoiceTest& t) {
             auto document = t.Load("<a><b>x</b></a>");
             auto b = t.Find(document.Get(), "b");
             UniqueBstr text = MakeBstr(u"y");
             t.Root(document.Get())->put_text(text.Get());
             return Query<IXMLDOMNode>(b.Get(), IID_IXMLDOMNode);
         },
         "b"},
        {"replaced by loadXML", [](StandInChoiceTest& t) { return t.HeldAcrossLoadXml(u"<z/>"); },
         "b"},
        {"discarded by a failed loadXML",
         [](StandInChoiceTest& t) { return t.HeldAcrossLoadXml(u"<z>"); }, "b"},
        {"removed, attached again, document released",
         [](StandInChoiceTest& t) {
             auto document = t.Load("<a><b/><c/></a>");
             auto root = t.Root(document.Get());
             auto b = t.Find(document.Get(), "b");
             root->removeChild(b.Get(), nullptr);
             t.Find(document.Get(), "c")->appendChild(b.Get(), nullptr);
             return Query<IXMLDOMNode>(b.Get(), IID_IXMLDOMNode);
         },
         "b"},
    };
    for (const auto& s : sequences) {
        SCOPED_TRACE(s.name);
        LONG before = LiveDomObjectCount();
        ComPtr<IXMLDOMNode> held = s.run(*this);
        ASSERT_TRUE(held);
        EXPECT_EQ(LiveDomObjectCount(), before + 1);
        EXPECT_EQ(NodeName(held.Get()), s.heldName);
        EXPECT_NE(Xml(held.Get()).find(s.heldName), std::string::npos);
        ComPtr<IXMLDOMDocument> owner;
        ASSERT_EQ(held->get_ownerDocument(owner.Put()), S_OK);
        std::string saved = Save(Query<IXMLDOMDocument2>(owner.Get(), IID_IXMLDOMDocument2).Get());
        EXPECT_EQ(saved.rfind("<?xml", 0), 0u);
    }
}

TEST_F(StandInChoiceTest, RunningOutOfMemoryWhileLoadingIsReportedAndLeavesNothing) {
    std::string xml = TicketXml;
    Load(xml); // libxml2 sets itself up on first use
    // libxml2 keeps the thread's last error, with its message, until the next one.
    xmlResetLastError();
    XmlAllocationHook hook;
    long long held = hook.HeldBytes();
    for (long nth = 1;; ++nth) {
        SCOPED_TRACE(nth);
        hook.FailAllocation(nth);
        ComPtr<IXMLDOMDocument2> document;
        XmlLoadError error;
        HRESULT hr = LoadDocumentFromString(xml, document.Put(), &error);
        bool reached = hook.Allocations() >= nth;
        hook.FailAllocation(0);
        document.Reset();
        xmlResetLastError();
        EXPECT_EQ(hook.HeldBytes(), held);
        if (!reached) {
            EXPECT_EQ(hr, S_OK);
            break;
        }
        // Where libxml2 reports the failure in its own terms (a name it could
        // not keep reads as empty), the load fails all the same.
        EXPECT_TRUE(FAILED(hr));
        EXPECT_FALSE(document);
        if (hr == E_OUTOFMEMORY) {
            EXPECT_EQ(error.message.rfind("out of memory", 0), 0u) << error.message;
        }
    }
}

TEST_F(StandInChoiceTest, AdjacentCDataSectionsLoadInLinearTimeAndMemory) {
    std::string section = "<![CDATA[" + std::string(100, 'x') + "]]>";
    std::string xml = "<a>";
    for (int i = 0; i < 8000; ++i)
        xml += section;
    xml += "</a>";
    XmlAllocationHook hook;
    auto start = std::chrono::steady_clock::now();
    auto document = Load(xml);
    std::string text = TextOf(Root(document.Get()).Get());
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_LT(hook.PeakBytes(), 20 * static_cast<long long>(xml.size()));
    EXPECT_EQ(text.size(), 800000u);
}

TEST_F(StandInChoiceTest, FreshPrefixIsFoundInLinearTimeAmongManyDeclarations) {
    constexpr int Declarations = 80000;
    std::string xml = "<r";
    for (int i = 0; i < Declarations; ++i)
        xml += " xmlns:ns" + std::to_string(i) + "=\"urn:" + std::to_string(i) + "\"";
    xml += "><ns0:e/></r>";
    auto document = Load(xml);
    auto element = Find(document.Get(), "ns0:e");
    auto start = std::chrono::steady_clock::now();
    auto mark = CreateAttribute(document.Get(), "ns0:mark", "urn:other", "x");
    ASSERT_EQ(element->setAttributeNode(mark.Get(), nullptr), S_OK);
    EXPECT_LT(SecondsSince(start), 2.0);
    EXPECT_EQ(NodeName(mark.Get()), "ns" + std::to_string(Declarations) + ":mark");
}
} // namespace
