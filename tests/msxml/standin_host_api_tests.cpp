// The stand-in DOM's host functions, which only the stand-in has: loading
// from text and files with a located error, copying a document, and their
// refusal of null pointers.
#include "dom_reading.h"
#include "dom_test_support.h"

#include <cstdio>
#include <fstream>

using namespace ptbridge;

namespace {
class HostApiTest : public DomTest {};

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

TEST_F(HostApiTest, MalformedXmlFailsWithLocatedMessageAndNoDocument) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString("<a>\n  <b></c>\n</a>", document.Put(), &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("mismatch"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 2);
    EXPECT_GT(error.column, 0);
}

TEST_F(HostApiTest, UndeclaredPrefixFailsNamingThePrefixAndItsPlace) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString("<a>\n\n   <psf:Feature/></a>", document.Put(), &error);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("psf"), std::string::npos) << error.message;
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.column, 16);
}

TEST_F(HostApiTest, DocumentTypeDeclarationsAreRefusedSoNoEntityIsRead) {
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

TEST_F(HostApiTest, MissingFileNamesThePath) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromFile("/nonexistent/ticket.xml", document.Put(), &error);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(document);
    EXPECT_NE(error.message.find("/nonexistent/ticket.xml"), std::string::npos);
}

TEST_F(HostApiTest, UnreadablePathAndEmptyFileAreToldApart) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(::testing::TempDir(), document.Put(), &error)));
    EXPECT_NE(error.message.find("cannot read"), std::string::npos) << error.message;

    TemporaryFile empty("");
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(empty.Path(), document.Put(), &error)));
    EXPECT_EQ(error.message.find("cannot read"), std::string::npos) << error.message;
    EXPECT_FALSE(document);
}

TEST_F(HostApiTest, LoadsFilesInTheirDeclaredEncoding) {
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

TEST_F(HostApiTest, MalformedFileReportsTheParserError) {
    TemporaryFile file("<a>");
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_TRUE(FAILED(LoadDocumentFromFile(file.Path(), document.Put(), &error)));
    EXPECT_EQ(error.line, 1);
}

TEST_F(HostApiTest, CopyIsADocumentOfItsOwnThatSharesNoNodeWithTheSource) {
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

// Loading the copy again would drop white space the source holds: a text
// set to white space only, or everything when the source keeps it.
TEST_F(HostApiTest, CopyKeepsTheExactContentAndPreserveWhiteSpace) {
    for (bool preserve : {false, true}) {
        SCOPED_TRACE(preserve ? "preserving" : "not preserving");
        auto source = Load("<a>\n  <b/>\n  <c/>\n</a>", preserve);
        UniqueBstr blank = MakeBstr(u"   ");
        ASSERT_EQ(Find(source.Get(), "c")->put_text(blank.Get()), S_OK);
        ComPtr<IXMLDOMDocument2> copy;
        ASSERT_EQ(CopyDocument(source.Get(), copy.Put()), S_OK);
        EXPECT_EQ(Save(copy.Get()), Save(source.Get()));
        VARIANT_BOOL preserving = VARIANT_FALSE;
        ASSERT_EQ(copy->get_preserveWhiteSpace(&preserving), S_OK);
        EXPECT_EQ(preserving, preserve ? VARIANT_TRUE : VARIANT_FALSE);
    }
}

TEST_F(HostApiTest, HostFunctionsRefuseNullPointers) {
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromString("<a/>", nullptr, &error), E_POINTER);
    EXPECT_EQ(CreateDomDocument(nullptr), E_POINTER);
    EXPECT_EQ(SaveDocumentToString(nullptr, nullptr), E_POINTER);
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_EQ(LoadDocumentFromString("<a/>", document.Put(), nullptr), S_OK);
    EXPECT_EQ(SaveDocumentToString(document.Get(), nullptr), E_POINTER);
}
} // namespace
