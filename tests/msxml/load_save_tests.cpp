// Loading documents from text, saving, and replacing content with loadXML.
#include "dom_test_support.h"

using namespace ptbridge;

namespace {
class LoadSaveTest : public DomTest {};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(LoadSaveTest, SavesUtf8WithDeclarationAndKeepsEveryNamespaceDeclaration) {
    auto document = Load(TicketXml);
    std::string saved = Save(document.Get());
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << saved;
    for (const char* declaration :
         {"xmlns:psf=", "xmlns:psk=", "xmlns:xsi=", "xmlns:xsd=", "xmlns:pv="})
        EXPECT_EQ(Count(saved, declaration), 1u) << declaration;
    EXPECT_NE(saved.find("<psf:Value xsi:type=\"xsd:QName\">psk:Tray</psf:Value>"),
              std::string::npos);
    auto reloaded = Load(saved);
    EXPECT_EQ(Save(reloaded.Get()), saved);
}

// However the URI got into the document: loaded, or given to createNode.
TEST_F(LoadSaveTest, NamespaceUrisWithMarkupCharactersSaveWellFormed) {
    const char* const Uri = "urn:a?b=1&c=2";
    auto loaded = Load("<a xmlns:p=\"urn:a?b=1&amp;c=2\"><p:b/></a>");
    auto created = Load("<a/>");
    auto element = Create(created.Get(), NODE_ELEMENT, "p:b", Uri);
    ASSERT_EQ(Root(created.Get())->appendChild(element.Get(), nullptr), S_OK);
    auto attributed = Load("<a/>");
    auto attribute = CreateAttribute(attributed.Get(), "p:c", Uri, "1");
    ASSERT_EQ(Root(attributed.Get())->setAttributeNode(attribute.Get(), nullptr), S_OK);
    for (IXMLDOMDocument2* document : {loaded.Get(), created.Get(), attributed.Get()}) {
        std::string saved = Save(document);
        EXPECT_NE(saved.find("=\"urn:a?b=1&amp;c=2\""), std::string::npos) << saved;
        auto reloaded = Load(saved);
        ASSERT_TRUE(reloaded);
        EXPECT_EQ(Save(reloaded.Get()), saved);
    }
    UniqueBstr uri;
    ASSERT_EQ(Find(loaded.Get(), "p:b")->get_namespaceURI(uri.Put()), S_OK);
    EXPECT_EQ(Utf8(uri.Get()), Uri);
}

// Windows builds a driver's private namespace from its name, spaces included;
// a namespace name need not be a valid URI reference to load.
TEST_F(LoadSaveTest, NamespaceNamesThatAreNotUriReferencesLoadAndSaveAsWritten) {
    const char* const Private = "http://schemas.microsoft.com/windows/2006/06/printing/"
                                "oemdriverpt/Microsoft_Print To PDF/10.0.10240.17797/";
    std::string xml = std::string("<a xmlns:ns0000=\"") + Private +
                      "\" xmlns:q=\"my namespace\" xmlns:t=\"urn:`x`\" xmlns=\"relative/x\">"
                      "<ns0000:b/><q:c/><t:d/><e/></a>";
    auto document = Load(xml);
    ASSERT_TRUE(document);
    const std::pair<const char*, const char*> names[] = {
        {"ns0000:b", Private}, {"q:c", "my namespace"}, {"t:d", "urn:`x`"}, {"e", "relative/x"}};
    for (const auto& [tag, uri] : names) {
        UniqueBstr found;
        ASSERT_EQ(Find(document.Get(), tag)->get_namespaceURI(found.Put()), S_OK) << tag;
        EXPECT_EQ(Utf8(found.Get()), uri);
    }
    std::string saved = Save(document.Get());
    EXPECT_NE(saved.find(std::string("xmlns:ns0000=\"") + Private + "\""), std::string::npos)
        << saved;
    EXPECT_NE(saved.find("xmlns:q=\"my namespace\""), std::string::npos) << saved;
    EXPECT_EQ(Save(Load(saved).Get()), saved);
}

TEST_F(LoadSaveTest, SurrogatePairsSurviveBothDirections) {
    auto document = Load("<a>\xF0\x9F\x98\x80</a>");
    auto root = Root(document.Get());
    UniqueBstr text;
    ASSERT_EQ(root->get_text(text.Put()), S_OK);
    EXPECT_EQ(Utf16(text.Get()), std::u16string(u"\U0001F600"));

    UniqueBstr replacement = MakeBstr(u"x\U0001F601y");
    ASSERT_EQ(root->put_text(replacement.Get()), S_OK);
    EXPECT_NE(Save(document.Get()).find("<a>x\xF0\x9F\x98\x81y</a>"), std::string::npos);
}

TEST_F(LoadSaveTest, UnpairedSurrogateIsReplacedRatherThanWrittenAsInvalidUtf8) {
    auto document = Load("<a/>");
    auto root = Root(document.Get());
    UniqueBstr broken = MakeBstr(u"x\xD800y");
    ASSERT_EQ(root->put_text(broken.Get()), S_OK);
    EXPECT_NE(Save(document.Get()).find("<a>x\xEF\xBF\xBDy</a>"), std::string::npos);
}

TEST_F(LoadSaveTest, NewDocumentIsEmptyUntilARootIsAppended) {
    auto document = NewDocument();
    ASSERT_TRUE(document);
    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(document->get_documentElement(root.Put()), S_FALSE);
    EXPECT_FALSE(root);

    auto created = Create(document.Get(), NODE_ELEMENT, "psf:PrintTicket", FrameworkUri);
    ASSERT_EQ(document->appendChild(created.Get(), nullptr), S_OK);
    std::string saved = Save(document.Get());
    EXPECT_NE(saved.find(std::string("<psf:PrintTicket xmlns:psf=\"") + FrameworkUri + "\"/>"),
              std::string::npos)
        << saved;
}

TEST_F(LoadSaveTest, LoadXmlReplacesTheContent) {
    auto document = Load(TicketXml);
    auto oldRoot = Root(document.Get());
    UniqueBstr text = MakeBstr(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><p:n xmlns:p=\"urn:p\" "
                               u"xml:lang=\"en\">\u00e9</p:n>");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(document->loadXML(text.Get(), &loaded), S_OK);
    EXPECT_EQ(loaded, VARIANT_TRUE);

    auto root = Root(document.Get());
    EXPECT_EQ(NodeName(root.Get()), "p:n");
    EXPECT_EQ(AttributeText(root.Get(), "xml:lang"), "en");
    EXPECT_NE(Save(document.Get()).find("<p:n xmlns:p=\"urn:p\" xml:lang=\"en\">\xC3\xA9</p:n>"),
              std::string::npos);
    // The former root stays usable on its own.
    EXPECT_EQ(NodeName(oldRoot.Get()), "psf:PrintTicket");
    ComPtr<IXMLDOMNode> parent;
    EXPECT_EQ(oldRoot->get_parentNode(parent.Put()), S_FALSE);
}

TEST_F(LoadSaveTest, FailedLoadXmlLeavesTheDocumentEmpty) {
    auto document = Load(TicketXml);
    auto oldRoot = Root(document.Get());
    auto option = Find(document.Get(), "psf:Option");
    UniqueBstr text = MakeBstr(u"<a><b></a>");
    VARIANT_BOOL loaded = VARIANT_TRUE;
    EXPECT_EQ(document->loadXML(text.Get(), &loaded), S_FALSE);
    EXPECT_EQ(loaded, VARIANT_FALSE);

    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(document->get_documentElement(root.Put()), S_FALSE);
    EXPECT_FALSE(root);
    ComPtr<IXMLDOMNodeList> children;
    ASSERT_EQ(document->get_childNodes(children.Put()), S_OK);
    EXPECT_EQ(Length(children.Get()), 0);
    // The nodes held from the former content stay usable on their own.
    EXPECT_EQ(NodeName(oldRoot.Get()), "psf:PrintTicket");
    EXPECT_EQ(NodeName(option.Get()), "psf:Option");

    text = MakeBstr(u"<n/>");
    ASSERT_EQ(document->loadXML(text.Get(), &loaded), S_OK);
    EXPECT_EQ(NodeName(Root(document.Get()).Get()), "n");
}

} // namespace
