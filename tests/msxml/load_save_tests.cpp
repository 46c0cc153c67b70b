// Loading documents from text and files, refusing unsound input with a
// located message, saving, and replacing content with loadXML.
#include "dom_test_support.h"

#include <cstdio>
#include <fstream>

using namespace ptbridge;

namespace {
class LoadSaveTest : public DomTest {};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A file in the temporary directory, removed again at the end of the test.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& content)
        : path_(::testing::TempDir() + "msxml_load_test.xml") {
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TemporaryFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

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

// The parser reads large texts in pieces of a quarter megabyte; text and
// markup cut at a piece's edge must come out whole.
TEST_F(LoadSaveTest, EveryKindOfContentSavesAsItWasLoadedAcrossParsePieces) {
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

TEST_F(LoadSaveTest, NamespaceUrisWithMarkupCharactersSaveWellFormed) {
    auto document = Load("<a xmlns:p=\"urn:a?b=1&amp;c=2\"><p:b/></a>");
    std::string saved = Save(document.Get());
    EXPECT_NE(saved.find("xmlns:p=\"urn:a?b=1&amp;c=2\""), std::string::npos) << saved;
    auto reloaded = Load(saved);
    EXPECT_EQ(Save(reloaded.Get()), saved);
}

TEST_F(LoadSaveTest, MalformedXmlFailsWithLocatedMessageAndNoDocument) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString("<a>\n  <b></c>\n</a>", document.Put(), &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("mismatch"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 2);
    EXPECT_GT(error.column, 0);
}

TEST_F(LoadSaveTest, UndeclaredPrefixFailsNamingThePrefixAndItsPlace) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString("<a>\n\n   <psf:Feature/></a>", document.Put(), &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("psf"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.column, 16);
}

TEST_F(LoadSaveTest, DocumentTypeDeclarationsAreRefusedSoNoEntityIsRead) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString(
        "<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n<a>&e;</a>", document.Put(),
        &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("document type"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 1);
}

TEST_F(LoadSaveTest, MissingFileNamesThePath) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromFile("/nonexistent/ticket.xml", document.Put(), &error);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("/nonexistent/ticket.xml"), std::string::npos);
}

TEST_F(LoadSaveTest, UnreadablePathAndEmptyFileAreToldApart) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(::testing::TempDir(), document.Put(), &error)));
    EXPECT_NE(error.message.find("cannot read"), std::string::npos) << error.message;

    TemporaryFile empty("");
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(empty.Path(), document.Put(), &error)));
    EXPECT_EQ(error.message.find("cannot read"), std::string::npos) << error.message;
    EXPECT_FALSE(document);
}

TEST_F(LoadSaveTest, LoadsFilesInTheirDeclaredEncoding) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>x</a>")) {
        utf16 += c;
        utf16 += '\0';
    }
    TemporaryFile file(utf16);
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    ASSERT_EQ(LoadDocumentFromFile(file.Path(), document.Put(), &error), S_OK) << error.message;
    EXPECT_EQ(NodeText(Root(document.Get()).Get()), "x");
    EXPECT_NE(Save(document.Get()).find("encoding=\"UTF-8\""), std::string::npos);
}

TEST_F(LoadSaveTest, MalformedFileReportsTheParserError) {
    TemporaryFile file("<a>");
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(file.Path(), document.Put(), &error)));
    EXPECT_EQ(error.line, 1);
}

TEST_F(LoadSaveTest, SurrogatePairsSurviveBothDirections) {
    auto document = Load("<a>\xF0\x9F\x98\x80</a>");
    auto root = Root(document.Get());
    UniqueBstr text;
    ASSERT_EQ(root->get_text(text.Put()), S_OK);
    EXPECT_EQ(std::u16string(text.Get()), std::u16string(u"\U0001F600"));

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
    ComPtr<IXMLDOMDocument2> document;
    ASSERT_EQ(CreateDomDocument(document.Put()), S_OK);
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

TEST_F(LoadSaveTest, FailedLoadXmlLeavesTheDocumentAsItWas) {
    auto document = Load(TicketXml);
    std::string before = Save(document.Get());
    UniqueBstr text = MakeBstr(u"<a><b></a>");
    VARIANT_BOOL loaded = VARIANT_TRUE;
    EXPECT_EQ(document->loadXML(text.Get(), &loaded), S_FALSE);
    EXPECT_EQ(loaded, VARIANT_FALSE);
    EXPECT_EQ(Save(document.Get()), before);
}

TEST_F(LoadSaveTest, CopyIsADocumentOfItsOwnThatSharesNoNodeWithTheSource) {
    auto source = Load(TicketXml);
    auto sourceRoot = Root(source.Get());
    ComPtr<IXMLDOMDocument2> copy;
    ASSERT_EQ(CopyDocument(source.Get(), copy.Put()), S_OK);
    EXPECT_EQ(Save(copy.Get()), Save(source.Get()));
    auto copyRoot = Root(copy.Get());
    EXPECT_NE(static_cast<IUnknown*>(copyRoot.Get()), static_cast<IUnknown*>(sourceRoot.Get()));
    // An edit of the copy leaves the source as it was.
    std::string before = Save(source.Get());
    auto feature = Find(copy.Get(), "psf:Feature");
    ComPtr<IXMLDOMNode> removed;
    ASSERT_EQ(copyRoot->removeChild(feature.Get(), removed.Put()), S_OK);
    EXPECT_EQ(Save(source.Get()), before);
    EXPECT_NE(Save(copy.Get()), before);
    EXPECT_EQ(CopyDocument(nullptr, copy.Put()), E_POINTER);
}

TEST_F(LoadSaveTest, HostFunctionsRefuseNullPointers) {
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString("<a/>", nullptr, &error), E_POINTER);
    EXPECT_EQ(CreateDomDocument(nullptr), E_POINTER);
    EXPECT_EQ(SaveDocumentToString(nullptr, nullptr), E_POINTER);
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_EQ(LoadDocumentFromString("<a/>", document.Put(), nullptr), S_OK);
    EXPECT_EQ(SaveDocumentToString(document.Get(), nullptr), E_POINTER);
}
} // namespace
